// The seven folder pairs as the user has them: the From and To folders and whether each pair is
// locked. Locking saves a pair's folders so that a restart brings it back; unlocking forgets it.
#pragma once

#include "common/outcome.h"
#include "folderpair.h"
#include "pairingtable.h"

#include <QList>
#include <QString>

#include <array>

class SettingsStore;

enum class Side { From = 0, To = 1 };

struct PairEntry
{
    QString from;
    QString to;
    bool locked = false;
};

class FolderPairs final
{
  public:
    explicit FolderPairs(SettingsStore &store) : m_store(store) {}

    const PairEntry &operator[](FolderPair pair) const { return m_entries[pair.index()]; }

    // The user's typing in a box of an unlocked pair.
    void type(FolderPair pair, Side side, const QString &text);
    // A folder picked on one side goes into that side's box of the pair the lock boxes name.
    // Returns the pairs whose box now holds it.
    QList<FolderPair> pick(Side side, const QString &path);

    // Locks the pair and adds its filled-in folders to its two tables, both in one step;
    // earlier records stay. The pair stays locked when they cannot be saved.
    Outcome lock(FolderPair pair);
    // Unlocks the pair and empties its two tables in one step, so that a restart leaves it
    // unlocked.
    Outcome unlock(FolderPair pair);
    // At start-up: a pair whose To folder was saved comes back with the folders it was locked
    // with last, and is locked once more, which saves them once more. The others come back empty.
    Outcome restore();

    // The two checks before a copy run or an activation. They look at the pairs as a whole:
    // a locked pair and a path in another pair pass both.
    bool anyLocked() const;
    bool anyPathEntered() const;

  private:
    LockPattern lockPattern() const;

    SettingsStore &m_store;
    std::array<PairEntry, FolderPair::kCount> m_entries;
};

// What a copy run or an activation says when nothing is locked.
inline const QString kNothingToCopyText =
    QStringLiteral("You cannot Xcopy unless at least 1 set of paths have been entered and locked "
                   "in by checking the box next to the paths.");
