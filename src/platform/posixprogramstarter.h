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

    // A copy runs as a child; anything else is started on its own, and documents with
    // xdg-open.
    Outcome startCopy(const ProgramStart &copy) override;
    Outcome start(const ProgramStart &program) override;
    Outcome open(const QString &document) override;

    // The full path of a program name, or an empty text when there is none. A name ending in
    // ".exe" is also tried without it, so "xcopy.exe" finds our own copy command.
    QString resolve(const QString &program) const;

  private:
    Outcome notFound(const QString &program) const;

    QString m_installFolder;
    RunLog m_runLog;
    QObject m_copies; // parent of the copies still running or showing their end
};
