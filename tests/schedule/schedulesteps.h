// What a user does to set up the automatic mode, and a clock that runs through whole days.
#pragma once

#include "windowfixture.h"

#include <QDateTime>
#include <QString>

namespace steps {

inline const QString kFrom = QStringLiteral("/data/from");
inline const QString kTo = QStringLiteral("/backup/to");

// Fills and locks pair 1, switches the automatic mode on and picks the interval and the time.
void setUp(WindowFixture &f, const QString &days, const QString &time);
// The same, then presses Activate at the fixture clock's time.
void activate(WindowFixture &f, const QString &days, const QString &time);

// Sets the clock to each second from `from` to `to`, both included, and lets the window tick.
void tickThrough(WindowFixture &f, const QDateTime &from, const QDateTime &to);

// Automatic runs so far: with one locked pair each run starts one copy command.
qsizetype runs(const WindowFixture &f);

QString shownNextDate(const WindowFixture &f);
bool listsLocked(const WindowFixture &f);

} // namespace steps
