// Where the next copy date falls: plain rules that need no window.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <optional>

// The number of days an entry of the interval list stands for; nothing for any other text.
std::optional<int> intervalDays(const QString &text);

// The next copy date of a schedule activated at `now` for the time of day `chosen`: today while
// that time is still to come, otherwise one interval on.
QDate activationDate(const QDateTime &now, const QTime &chosen, int days);

// A next copy date that passed without a run, moved on by whole intervals to today or later.
// No run is made up for the days skipped.
QDate dateAfterMissedRuns(const QDate &next, const QDate &today, int days);

// The stored next copy date as a restart at `now` keeps it: a later date stays; a date that has
// passed moves on as a missed run does; today stays while the chosen time is still to come and
// moves on one interval when it is gone. Without a stored date the activation's rule decides.
QDate restartDate(const QDate &stored, const QDateTime &now, const QTime &chosen, int days);
