// The copy run: the copy command of every locked pair, side by side, and, with the automatic mode
// on, the next copy date moved on. It never stops at a pair that cannot start: every other pair
// starts and the run ends, and then it says which failed and why.
#pragma once

#include "common/outcome.h"
#include "pairs/folderpair.h"

#include <QDate>
#include <QList>
#include <QStringList>

#include <optional>

class CopyLauncher;
class FolderPairs;
class Schedule;

struct CopyRunReport
{
    bool refused = false; // nothing locked, or no path entered: nothing started or saved
    QList<FolderPair> started;
    QStringList failures;              // one line for each pair that could not start
    std::optional<QDate> nextCopyDate; // moved on, with the automatic mode on
    Outcome saved = Outcome::done();   // moving the next copy date on
};

class CopyRun final
{
  public:
    CopyRun(const FolderPairs &pairs, CopyLauncher &launcher, Schedule &schedule)
        : m_pairs(pairs), m_launcher(launcher), m_schedule(schedule)
    {
    }

    [[nodiscard]] CopyRunReport run();
    // The copy command of one pair with the texts its boxes hold now, not the saved ones.
    Outcome startPair(FolderPair pair);

  private:
    const FolderPairs &m_pairs;
    CopyLauncher &m_launcher;
    Schedule &m_schedule;
};
