// What a user does to set up the automatic mode, and a clock that runs through whole days.
#pragma once

#include "windowfixture.h"

#include <QDateTime>
#include <QLabel>

namespace steps {

inline const QString kFrom = QStringLiteral("/data/from");

// Fills and locks pair 1, switches the automatic mode on, picks the interval and the time and,
// unless told not to, presses Activate at the fixture clock's time.
void activate(WindowFixture &f, const QString &days, const QString &time, bool press = true);
// Sets the clock to each second from `from` to `to`, both included, and lets the window tick.
void tickThrough(WindowFixture &f, const QDateTime &from, const QDateTime &to);
// A locked list keeps its entry whatever key the user presses.
bool listsLocked(const WindowFixture &f);

// Automatic runs so far: with one locked pair each run starts one copy command.
inline qsizetype runs(const WindowFixture &f)
{
    return f.programs.started.size();
}
inline QString shownNextDate(const WindowFixture &f)
{
    return f.find<QLabel>(QStringLiteral("lblNextDate"))->text();
}

} // namespace steps
