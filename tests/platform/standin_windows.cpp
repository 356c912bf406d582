// Stands in for the programs the Windows program start runs. Built as xcopy.exe and notepad.exe
// into the test's own folder, where the system's search looks before its own folders, and
// registered as the program of a test document type.
// It appends to the file named by STAND_IN_RECORD its whole command line and the window state
// it was started with ("maximized", "minimized", "hidden" or "normal"), one line each.
// STAND_IN_COPY "OUT ERR ENDING" makes it print OUT lines "C:\from\Ärger N.txt" in the OEM
// code page, as xcopy.exe does, and ERR lines naming a file it could not copy to its
// error output, then end with the exit status ENDING; with ENDING "hold" it waits to be ended.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string inCodePage(const std::wstring &text, UINT codePage)
{
    const int size = WideCharToMultiByte(codePage, 0, text.c_str(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(codePage, 0, text.c_str(), int(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

const char *windowState()
{
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    if (!(startup.dwFlags & STARTF_USESHOWWINDOW))
        return "normal";
    switch (startup.wShowWindow) {
    case SW_SHOWMAXIMIZED:
        return "maximized";
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        return "minimized";
    case SW_HIDE:
        return "hidden";
    default:
        return "normal";
    }
}

void record(const wchar_t *file)
{
    const HANDLE log = CreateFileW(file, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const std::string text = inCodePage(GetCommandLineW(), CP_UTF8) + "\n" + windowState() + "\n";
    DWORD written = 0;
    WriteFile(log, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(log);
}

int copy(const char *behaviour)
{
    int out = 0;
    int err = 0;
    char ending[16] = "";
    if (std::sscanf(behaviour, "%d %d %15s", &out, &err, ending) != 3)
        return 99;
    for (int line = 1; line <= out; ++line) {
        const std::wstring name = L"C:\\from\\\u00c4rger " + std::to_wstring(line) + L".txt\n";
        std::fputs(inCodePage(name, GetOEMCP()).c_str(), stdout);
    }
    std::fflush(stdout);
    for (int line = 1; line <= err; ++line)
        std::fprintf(stderr, "Access denied - C:\\from\\file%d.txt\n", line);
    std::fflush(stderr);
    if (std::strcmp(ending, "hold") == 0) {
        Sleep(60000);
        return 0;
    }
    return std::atoi(ending);
}

} // namespace

// Its output ends lines with a carriage return and a line feed, as Windows's programs do: the
// C library's text mode adds the carriage return.
int main()
{
    if (const wchar_t *file = _wgetenv(L"STAND_IN_RECORD"))
        record(file);
    const char *behaviour = std::getenv("STAND_IN_COPY");
    return behaviour ? copy(behaviour) : 0;
}
