// The message a copy run or an activation gives when there is nothing to copy.
#pragma once

#include <QString>

inline const QString kNothingToCopyText =
    QStringLiteral("You cannot Xcopy unless at least 1 set of paths have been entered and locked "
                   "in by checking the box next to the paths.");
