// Built on Windows only: starts the whole command line as it stands, the way the system's own
// program start does, with the window shown minimized or maximized.
#include "programstarter.h"

#include <windows.h>

namespace {

class WindowsProgramStarter final : public ProgramStarter
{
  public:
    QString start(const ProgramStart &request) override
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow =
            request.state == WindowState::MinimizedActive ? SW_SHOWMINIMIZED : SW_SHOWMAXIMIZED;
        PROCESS_INFORMATION process{};
        std::wstring line = request.commandLine.toStdWString();
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                            nullptr, nullptr, &startup, &process)) {
            return QStringLiteral("%1 could not be started: %2")
                .arg(request.commandLine, systemMessage(GetLastError()));
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return {};
    }

  private:
    static QString systemMessage(DWORD code)
    {
        wchar_t *text = nullptr;
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                           FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
        const QString message = QString::fromWCharArray(text).trimmed();
        LocalFree(text);
        return message;
    }
};

} // namespace

std::unique_ptr<ProgramStarter> makeProgramStarter(const QString &)
{
    return std::make_unique<WindowsProgramStarter>();
}
