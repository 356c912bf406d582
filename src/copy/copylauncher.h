// Starts the copy command of one folder pair and does not wait for it.
#pragma once

#include "pairs/folderpair.h"

#include <QString>

class ProgramStarter;

class CopyLauncher final
{
  public:
    explicit CopyLauncher(ProgramStarter &programs) : m_programs(programs) {}

    // Copies `from` into `to` as given, however they read. Returns what to tell the user when
    // the command could not be started, otherwise an empty text.
    QString start(FolderPair pair, const QString &from, const QString &to);

  private:
    ProgramStarter &m_programs;
};
