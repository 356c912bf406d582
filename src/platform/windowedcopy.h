// One copy run in a window of its own: the process, its output shown as it comes and kept for
// the run log, and its log entry when it ends. It deletes itself once the copy has ended and
// its window is gone.
#pragma once

#include "common/outcome.h"
#include "copyending.h"
#include "outputtranscript.h"
#include "runlog.h"

#include <QPointer>
#include <QProcess>

class CopyWindow;

class WindowedCopy final : public QObject
{
    Q_OBJECT
  public:
    // The title names the copy in its window's caption and in the log.
    explicit WindowedCopy(RunLog log, QString title, QObject *parent);
    // A copy still running as the program ends is interrupted, as closing its window does, waited
    // for a while and killed if it goes on; its log entry says so.
    ~WindowedCopy() override;

    // Starts the program and shows its window minimized. A program that cannot be started is
    // logged with the system's reason.
    Outcome start(const QString &program, const QStringList &arguments);
#ifdef Q_OS_WIN
    // The same for a whole command line, started as it stands.
    Outcome startCommandLine(const QString &commandLine);
#endif

  private:
    Outcome launch(const QString &program);
    void readOutput(QProcess::ProcessChannel channel, bool toTheEnd);
    void takeLines(const QByteArray &lines, bool failure);
    void finish(int exitCode, QProcess::ExitStatus status);
    void windowClosing();

    RunLog m_log;
    QString m_title;
    QDateTime m_started;
    QProcess m_process;
    QByteArray m_partialLines[2]; // of the output and the error output
    OutputTranscript m_transcript{RunLog::kOutputBudget};
    CopyEnding m_ending;
    QPointer<CopyWindow> m_window;
    bool m_windowClosed = false;
    bool m_programEnding = false;
};

// Logs a copy whose program could not be started, with the reason. Returns that reason, with
// why the log could not be written where it could not.
QString logNotStarted(const RunLog &log, const QString &title, const QString &reason);
