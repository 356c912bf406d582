#pragma once

#include "programstarter.h"

class PosixProgramStarter final : public ProgramStarter
{
  public:
    // Program names are looked up in the installation folder first, then on PATH.
    explicit PosixProgramStarter(QString installFolder) : m_installFolder(std::move(installFolder))
    {
    }
    QString start(const ProgramStart &request) override;

    // The full path of a program name, or an empty text when there is none. A name ending in
    // ".exe" is also tried without it, so "xcopy.exe" finds our own copy command.
    QString resolve(const QString &program) const;

  private:
    QString m_installFolder;
};
