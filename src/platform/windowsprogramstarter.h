// Built on Windows only.
#pragma once

#include "programstarter.h"
#include "runlog.h"

#include <QObject>

// Starts the whole command line as it stands, the way the system's own program start does: the
// system's search finds the program named first on it.
class WindowsProgramStarter final : public ProgramStarter
{
  public:
    // Copies are logged into the run log at the given path.
    explicit WindowsProgramStarter(QString runLogPath) : m_runLog(std::move(runLogPath)) {}
    // Copies still running are ended and waited for.
    ~WindowsProgramStarter() override = default;

    // A copy (minimized and active) runs in a copy window of its own, with its console hidden,
    // and keeps the program running until its window closes. Any other program starts on its
    // own, maximized, and outlives the program; a start without a command line opens the
    // document named by its program in the program the system associates with it.
    QString start(const ProgramStart &request) override;

  private:
    QString startCopy(const ProgramStart &request);

    RunLog m_runLog;
    QObject m_copies; // parent of the copies still running or showing their end
};
