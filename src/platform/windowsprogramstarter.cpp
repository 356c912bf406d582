#include "windowsprogramstarter.h"

#include "windowedcopy.h"
#include "windowserror.h"

#include <QDir>

#include <windows.h>

#include <shellapi.h>

std::unique_ptr<ProgramStarter> makeProgramStarter(const QString &)
{
    return std::make_unique<WindowsProgramStarter>(RunLog::defaultPath());
}

// Maximized and with the focus; it outlives this program.
Outcome WindowsProgramStarter::start(const ProgramStart &request)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMAXIMIZED;
    PROCESS_INFORMATION process{};
    std::wstring line = request.commandLine.toStdWString();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return Outcome::failed(QStringLiteral("%1 could not be started: %2")
                                   .arg(request.commandLine, systemMessage(GetLastError())));
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return Outcome::done();
}

// Through the shell's "open", as Explorer opens it. The shell's own failure box is left out: the
// caller reports the failure.
Outcome WindowsProgramStarter::open(const QString &document)
{
    const std::wstring file = QDir::toNativeSeparators(document).toStdWString();
    SHELLEXECUTEINFOW open{};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    open.lpVerb = L"open";
    open.lpFile = file.c_str();
    open.nShow = SW_SHOWMAXIMIZED;
    if (!ShellExecuteExW(&open)) {
        return Outcome::failed(
            QStringLiteral("%1 could not be opened: %2")
                .arg(QDir::toNativeSeparators(document), systemMessage(GetLastError())));
    }
    return Outcome::done();
}

Outcome WindowsProgramStarter::startCopy(const ProgramStart &request)
{
    const QString title = request.caption.isEmpty()
                              ? request.commandLine
                              : request.caption + QStringLiteral(": ") + request.commandLine;
    auto *copy = new WindowedCopy(m_runLog, title, &m_copies);
    const Outcome started = copy->startCommandLine(request.commandLine);
    if (!started.ok())
        delete copy;
    return started;
}
