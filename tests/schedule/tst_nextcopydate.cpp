#include "schedule/nextcopydate.h"

#include <QTest>

class tst_NextCopyDate : public QObject
{
    Q_OBJECT

  private slots:
    void activation();
    void missedRuns();
};

namespace {
// Today is 5 March 2026; days beyond the month run on into the next.
QDate march(int day)
{
    return QDate(2026, 3, 1).addDays(day - 1);
}
QDate activatedAt(const QTime &now, const QTime &chosen, int days)
{
    return activationDate(QDateTime(march(5), now), chosen, days);
}
} // namespace

void tst_NextCopyDate::activation()
{
    QCOMPARE(activatedAt(QTime(14, 0), QTime(15, 0), 7), march(5));  // still to come
    QCOMPARE(activatedAt(QTime(14, 0), QTime(14, 0), 7), march(12)); // the same second is past
    QCOMPARE(activatedAt(QTime(0, 1, 1), QTime(0, 1), 1), march(6)); // one second past
    QCOMPARE(activatedAt(QTime(9, 0), QTime(1, 0), 30), QDate(2026, 4, 4)); // across a month end
}

// Moved on by whole intervals to today or later.
void tst_NextCopyDate::missedRuns()
{
    QCOMPARE(dateAfterMissedRuns(march(5), march(5), 7), march(5));  // due today stays
    QCOMPARE(dateAfterMissedRuns(march(4), march(5), 7), march(11)); // missed yesterday
    QCOMPARE(dateAfterMissedRuns(march(2), march(5), 1), march(5));  // asleep three days, daily
    QCOMPARE(dateAfterMissedRuns(march(-9), march(5), 7), march(5)); // two intervals land on today
    QCOMPARE(dateAfterMissedRuns(march(-8), march(5), 7), march(6)); // two intervals behind
}

QTEST_APPLESS_MAIN(tst_NextCopyDate)
#include "tst_nextcopydate.moc"
