// Stands in for the programs the Windows program start runs. Built into the tests' own folder,
// where the system's search looks before its own folders, as xcopy.exe, notepad.exe and
// copy_stand_in.exe, and registered as the program of a test document type.
// It appends to the file named by STAND_IN_RECORD its whole command line and the window state it
// was started with ("maximized", "hidden" or "other"), one line each. As copy_stand_in.exe it is
// copy_stand_in.sh's copy, "LABEL OUT_LINES ERR_LINES ENDING [HOLD_FILE]", writing its lines in
// the console's OEM code page as xcopy.exe does, with HOLD_FILE made and held until it is ended.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string inCodePage(const std::wstring &text, UINT codePage = GetOEMCP())
{
    std::string bytes(text.size() * 4, '\0'); // the most a character takes in any code page
    bytes.resize(WideCharToMultiByte(codePage, 0, text.c_str(), int(text.size()), bytes.data(),
                                     int(bytes.size()), nullptr, nullptr));
    return bytes;
}

} // namespace

int main()
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (const wchar_t *file = _wgetenv(L"STAND_IN_RECORD")) {
        STARTUPINFOW startup{};
        GetStartupInfoW(&startup);
        const WORD shown = startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : SW_SHOW;
        const char *state = shown == SW_SHOWMAXIMIZED ? "maximized"
                            : shown == SW_HIDE        ? "hidden"
                                                      : "other";
        if (FILE *log = _wfopen(file, L"ab")) {
            std::fprintf(log, "%s\n%s\n", inCodePage(GetCommandLineW(), CP_UTF8).c_str(), state);
            std::fclose(log);
        }
    }
    if (std::wstring(argv[0]).find(L"copy_stand_in") == std::wstring::npos || argc < 5)
        return 0;

    // Its lines end with a carriage return and a line feed, as Windows's programs' do: the C
    // library's text mode adds the carriage return. The last failure has no line end.
    const std::wstring label = argv[1];
    for (int line = 1; line <= _wtoi(argv[2]); ++line)
        std::fputs(inCodePage(label + L" line " + std::to_wstring(line) + L"\n").c_str(), stdout);
    std::fflush(stdout);
    std::wstring failures;
    for (int line = 1; line <= _wtoi(argv[3]); ++line)
        failures +=
            L"\nCannot read " + label + L"/file" + std::to_wstring(line) + L": Permission denied";
    std::fputs(inCodePage(failures.erase(0, 1)).c_str(), stderr);
    std::fflush(stderr);
    if (argc > 5) {
        CloseHandle(CreateFileW(argv[5], GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        Sleep(60000);
    }
    return _wtoi(argv[4]);
}
