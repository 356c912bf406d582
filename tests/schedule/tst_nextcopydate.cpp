#include "schedule/nextcopydate.h"

#include <QTest>

class tst_NextCopyDate : public QObject
{
    Q_OBJECT

  private slots:
    void missedRuns();
};

namespace {
// Today is 5 March 2026; days beyond the month run on into the next.
QDate march(int day)
{
    return QDate(2026, 3, 1).addDays(day - 1);
}
} // namespace

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
