#pragma once

#include "programstarter.h"
#include "runlog.h"

#include <QObject>

class PosixProgramStarter final : public ProgramStarter
{
  public:
    // Program names are looked up in the installation folder first, then on PATH. Copies are
    // logged into the run log at the given path.
    explicit PosixProgramStarter(QString installFolder, QString runLogPath);
    // Copies still running are interrupted and waited for.
    ~PosixProgramStarter() override = default;

    // A copy (minimized and active) runs as a child in a copy window of its own, which keeps the
    // program running until it closes; anything else is started on its own, outliving the
    // program.
    QString start(const ProgramStart &request) override;

    // The full path of a program name, or an empty text when there is none. A name ending in
    // ".exe" is also tried without it, so "xcopy.exe" finds our own copy command.
    QString resolve(const QString &program) const;

  private:
    QString notFound(const QString &program) const;
    QString startCopy(const QString &program, const ProgramStart &request);

    QString m_installFolder;
    RunLog m_runLog;
    QObject m_copies; // parent of the copies still running or showing their end
};
