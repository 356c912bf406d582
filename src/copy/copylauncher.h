// Starts the copy command of one folder pair and does not wait for it.
#pragma once

#include "common/outcome.h"
#include "pairs/folderpair.h"

#include <QString>

class ProgramStarter;

class CopyLauncher final
{
  public:
    explicit CopyLauncher(ProgramStarter &programs) : m_programs(programs) {}

    // Copies `from` into `to` as given, however they read. A missing To folder is made first,
    // with its parents: a copy command may otherwise ask whether it names a file or a folder, in
    // a window nobody watches.
    Outcome start(FolderPair pair, const QString &from, const QString &to);

  private:
    ProgramStarter &m_programs;
};
