// What the user has entered in the seven pairs at one moment: the texts of the From and To boxes
// and whether each pair is locked.
#pragma once

#include "folderpair.h"

#include <QString>

#include <array>

struct PairEntry
{
    QString from;
    QString to;
    bool locked = false;
};

struct PairEntries
{
    std::array<PairEntry, FolderPair::kCount> pairs;

    const PairEntry &operator[](FolderPair pair) const { return pairs[pair.index()]; }
    PairEntry &operator[](FolderPair pair) { return pairs[pair.index()]; }

    // The two checks before a copy run or an activation. They look at the pairs as a whole:
    // a locked pair and a path in another pair pass both.
    bool anyLocked() const;
    bool anyPathEntered() const;
};

// What a copy run or an activation says when nothing is locked.
inline const QString kNothingToCopyText =
    QStringLiteral("You cannot Xcopy unless at least 1 set of paths have been entered and locked "
                   "in by checking the box next to the paths.");
