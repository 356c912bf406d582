#include "schedulelists.h"

const QStringList &dayEntries()
{
    static const QStringList entries = [] {
        QStringList days;
        for (int day = 1; day <= 30; ++day)
            days.append(QString::number(day));
        return days;
    }();
    return entries;
}

const QStringList &timeEntries()
{
    // There is no entry at 12:00:00: midnight and noon are one minute past the hour.
    static const QStringList entries{
        QStringLiteral("12:01:00 AM"), QStringLiteral("1:00:00 AM"),  QStringLiteral("2:00:00 AM"),
        QStringLiteral("3:00:00 AM"),  QStringLiteral("4:00:00 AM"),  QStringLiteral("5:00:00 AM"),
        QStringLiteral("6:00:00 AM"),  QStringLiteral("7:00:00 AM"),  QStringLiteral("8:00:00 AM"),
        QStringLiteral("9:00:00 AM"),  QStringLiteral("10:00:00 AM"), QStringLiteral("11:00:00 AM"),
        QStringLiteral("12:01:00 PM"), QStringLiteral("1:00:00 PM"),  QStringLiteral("2:00:00 PM"),
        QStringLiteral("3:00:00 PM"),  QStringLiteral("4:00:00 PM"),  QStringLiteral("5:00:00 PM"),
        QStringLiteral("6:00:00 PM"),  QStringLiteral("7:00:00 PM"),  QStringLiteral("8:00:00 PM"),
        QStringLiteral("9:00:00 PM"),  QStringLiteral("10:00:00 PM"), QStringLiteral("11:00:00 PM"),
    };
    return entries;
}
