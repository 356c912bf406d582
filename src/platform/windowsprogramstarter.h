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

    // A copy's console stays hidden: its copy window shows the output. Documents open in the
    // program the system associates with them.
    Outcome startCopy(const ProgramStart &copy) override;
    Outcome start(const ProgramStart &program) override;
    Outcome open(const QString &document) override;

  private:

    RunLog m_runLog;
    QObject m_copies; // parent of the copies still running or showing their end
};
