#include "nextcopydate.h"

std::optional<int> intervalDays(const QString &text)
{
    bool isNumber = false;
    const int days = text.toInt(&isNumber);
    if (!isNumber || days < 1)
        return std::nullopt;
    return days;
}

QDate activationDate(const QDateTime &now, const QTime &chosen, int days)
{
    const QDate today = now.date();
    return chosen > now.time() ? today : today.addDays(days);
}

QDate dateAfterMissedRuns(const QDate &next, const QDate &today, int days)
{
    if (next >= today || days < 1)
        return next;
    const qint64 intervals = (next.daysTo(today) + days - 1) / days;
    return next.addDays(intervals * days);
}

QDate restartDate(const QDate &stored, const QDateTime &now, const QTime &chosen, int days)
{
    if (!stored.isValid())
        return activationDate(now, chosen, days);
    const QDate next = dateAfterMissedRuns(stored, now.date(), days);
    return next == now.date() && chosen <= now.time() ? next.addDays(days) : next;
}
