// The entries of the interval and time-of-day lists.
#pragma once

#include <QStringList>

const QStringList &dayEntries();  // "1" .. "30"
const QStringList &timeEntries(); // the 24 times of day, midnight and noon one minute past
