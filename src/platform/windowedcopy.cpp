#include "windowedcopy.h"

#include "copyoutput.h"
#include "copywindow.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// Time for an interrupted copy to remove its temporary file.
constexpr int kInterruptGraceMs = 10000;

// SIGTERM, as a closed console sends: the copy removes its temporary file and ends. A console
// program on Windows has no window to be asked to close, and a closed console ends it: it is
// ended at once.
void interrupt(QProcess &process)
{
#ifdef Q_OS_WIN
    process.kill();
#else
    process.terminate();
#endif
}

} // namespace

WindowedCopy::WindowedCopy(RunLog log, QString title, QObject *parent)
    : QObject(parent), m_log(std::move(log)), m_title(std::move(title))
{
    connect(&m_process, &QProcess::readyReadStandardOutput, this,
            [this] { readOutput(QProcess::StandardOutput, false); });
    connect(&m_process, &QProcess::readyReadStandardError, this,
            [this] { readOutput(QProcess::StandardError, false); });
    connect(&m_process, &QProcess::finished, this, &WindowedCopy::finish);
}

WindowedCopy::~WindowedCopy()
{
    // Its end, noted in finish(), comes while this waits.
    if (m_process.state() != QProcess::NotRunning) {
        m_programEnding = true;
        interrupt(m_process);
        if (!m_process.waitForFinished(kInterruptGraceMs)) {
            m_process.kill();
            m_process.waitForFinished(kInterruptGraceMs);
        }
    }
    m_process.disconnect(this);
    delete m_window;
}

Outcome WindowedCopy::start(const QString &program, const QStringList &arguments)
{
    m_process.setProgram(program);
    m_process.setArguments(arguments);
    return launch(program);
}

#ifdef Q_OS_WIN
Outcome WindowedCopy::startCommandLine(const QString &commandLine)
{
    // The system's own search finds the program named first on the line, which reaches it as it
    // stands. The copy's console stays hidden: this window shows its output.
    const QString program = commandLine.section(QLatin1Char(' '), 0, 0);
    m_process.setProgram(program);
    m_process.setCreateProcessArgumentsModifier(
        [line = commandLine.toStdWString()](QProcess::CreateProcessArguments *process) mutable {
            process->applicationName = nullptr;
            process->arguments = line.data();
            process->flags |= CREATE_NO_WINDOW;
            process->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
            process->startupInfo->wShowWindow = SW_HIDE;
        });
    return launch(program);
}
#endif

Outcome WindowedCopy::launch(const QString &program)
{
    m_started = QDateTime::currentDateTime();
    m_process.start();
    if (!m_process.waitForStarted()) {
        const QString reason =
            QStringLiteral("%1 could not be started: %2").arg(program, m_process.errorString());
        return Outcome::failed(logNotStarted(m_log, m_title, reason));
    }
    m_window = new CopyWindow(m_title);
    connect(m_window, &CopyWindow::closing, this, &WindowedCopy::windowClosing);
    m_window->showMinimized();
    return Outcome::done();
}

void WindowedCopy::readOutput(QProcess::ProcessChannel channel, bool toTheEnd)
{
    QByteArray &partial = m_partialLines[channel];
    m_process.setReadChannel(channel);
    partial += m_process.readAll();
    // Lines are taken whole; at the end, also a last one without its line end.
    qsizetype end = partial.lastIndexOf('\n');
    if (toTheEnd)
        end = partial.endsWith('\n') ? partial.size() - 1 : partial.size();
    if (end < 0 || partial.isEmpty())
        return;
    takeLines(partial.left(end), channel == QProcess::StandardError);
    partial.remove(0, end + 1);
}

void WindowedCopy::takeLines(const QByteArray &lines, bool failure)
{
    QStringList shown;
    for (QByteArray line : lines.split('\n')) {
        // Windows's programs end their lines with a carriage return too.
        if (line.endsWith('\r'))
            line.chop(1);
        m_transcript.add(loggedOutput(line), failure);
        shown.append(outputText(line));
        if (failure && m_ending.failureLines++ == 0)
            m_ending.firstFailure = shown.last();
    }
    if (m_window)
        m_window->addLines(shown.join(QLatin1Char('\n')), failure);
}

void WindowedCopy::finish(int exitCode, QProcess::ExitStatus status)
{
    readOutput(QProcess::StandardOutput, true);
    readOutput(QProcess::StandardError, true);
    m_ending.bySignal = status == QProcess::CrashExit;
    m_ending.code = exitCode;

    const QString words = m_programEnding
                              ? QStringLiteral("The copy was ended because the program ended.")
                              : endingWords(m_ending);
    const Outcome logged =
        m_log.append({m_title, m_started, m_transcript.text(), QDateTime::currentDateTime(),
                      endingStatus(m_ending) + QStringLiteral(". ") + words});
    if (m_programEnding)
        return;
    const QString logWords =
        logged.ok() ? QStringLiteral("Its output is in the run log %1.").arg(m_log.path())
                    : QStringLiteral("The run log %1 could not be written: %2.")
                          .arg(m_log.path(), logged.why());
    if (m_window && !m_windowClosed) {
        // Shown, not minimized, when the log failed, as the window is then the only place that
        // says what happened.
        const bool wentWrong = !endedWell(m_ending) || !logged.ok();
        m_window->showEnding(words + QLatin1Char(' ') + logWords, wentWrong);
        if (!wentWrong)
            m_window->close();
    }
    if (m_windowClosed)
        deleteLater();
}

void WindowedCopy::windowClosing()
{
    m_windowClosed = true;
    if (m_process.state() != QProcess::NotRunning)
        interrupt(m_process);
    else
        deleteLater();
}

QString logNotStarted(const RunLog &log, const QString &title, const QString &reason)
{
    const QDateTime now = QDateTime::currentDateTime();
    const Outcome logged =
        log.append({title, now, {}, now, QStringLiteral("not started: %1").arg(reason)});
    if (logged.ok())
        return reason;
    return QStringLiteral("%1 (the run log %2 could not be written: %3)")
        .arg(reason, log.path(), logged.why());
}
