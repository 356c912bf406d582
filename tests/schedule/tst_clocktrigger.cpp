#include "schedulesteps.h"

#include <QCheckBox>
#include <QTest>

using namespace steps;

class tst_ClockTrigger : public QObject
{
    Q_OBJECT

  private slots:
    void aDay_data();
    void aDay();
    void missedRuns_data();
    void missedRuns();
};

namespace {
QDateTime at(int day, const QTime &time)
{
    return QDateTime(QDate(2026, 3, day), time);
}
} // namespace

void tst_ClockTrigger::aDay_data()
{
    QTest::addColumn<QTime>("activated");
    QTest::addColumn<bool>("openSinceEarlier"); // the automatic box switched on days before
    QTest::addColumn<int>("runsThatDay");
    QTest::newRow("activated at 9:00") << QTime(9, 0) << false << 1;
    QTest::newRow("activated at 11 PM") << QTime(23, 0) << false << 0;
    QTest::newRow("window open since an earlier day") << QTime(9, 0) << true << 1;
}

// A weekly schedule for 10:00:00 PM, activated on 5 March.
void tst_ClockTrigger::aDay()
{
    QFETCH(QTime, activated);
    QFETCH(bool, openSinceEarlier);
    QFETCH(int, runsThatDay);
    WindowFixture f;
    f.clock.set(at(2, QTime(8, 0)));
    f.open();
    if (openSinceEarlier) {
        f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->setChecked(true);
        f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->setChecked(false);
    }
    f.clock.set(at(5, activated));
    activate(f, QStringLiteral("7"), QStringLiteral("10:00:00 PM"));
    QCOMPARE(shownNextDate(f), runsThatDay ? "3/5/2026" : "3/12/2026");

    tickThrough(f, at(5, activated), at(5, QTime(21, 59, 59)));
    QCOMPARE(runs(f), 0);
    tickThrough(f, at(5, QTime(22, 0)), at(5, QTime(22, 0)));
    QCOMPARE(runs(f), runsThatDay);
    tickThrough(f, at(5, QTime(22, 0, 1)), at(6, QTime(0, 1)));
    QCOMPARE(runs(f), runsThatDay);
    QCOMPARE(shownNextDate(f), QStringLiteral("3/12/2026"));
    QCOMPARE(f.database.records(Table::Date), QStringList{"2026-03-12"});
}

// No run is made up; the next copy date moves on to today or later, and its day fires.
void tst_ClockTrigger::missedRuns_data()
{
    QTest::addColumn<int>("days");
    QTest::addColumn<QDateTime>("lastSeen"); // the clock's last tick before the gap
    QTest::addColumn<QDateTime>("nextSeen"); // its first tick after it
    QTest::addColumn<QDateTime>("checked");  // ticking on to here, no run has come
    QTest::addColumn<QDate>("due");
    QTest::newRow("10 PM never shown") << 7 << at(5, QTime(21, 59, 59)) << at(5, QTime(22, 0, 1))
                                       << at(6, QTime(0, 0, 1)) << QDate(2026, 3, 12);
    QTest::newRow("asleep for three days") << 1 << at(5, QTime(21, 0)) << at(8, QTime(8, 0))
                                           << at(8, QTime(8, 0, 5)) << QDate(2026, 3, 8);
}

void tst_ClockTrigger::missedRuns()
{
    QFETCH(int, days);
    QFETCH(QDateTime, lastSeen);
    QFETCH(QDateTime, nextSeen);
    QFETCH(QDateTime, checked);
    QFETCH(QDate, due);
    WindowFixture f;
    f.open();
    activate(f, QString::number(days), QStringLiteral("10:00:00 PM"));

    tickThrough(f, lastSeen, lastSeen);
    tickThrough(f, nextSeen, checked);
    QCOMPARE(runs(f), 0);
    QCOMPARE(shownNextDate(f), due.toString("M/d/yyyy"));
    QCOMPARE(f.database.records(Table::Date), QStringList{due.toString(Qt::ISODate)});

    tickThrough(f, QDateTime(due, QTime(21, 59, 58)), QDateTime(due, QTime(22, 0, 2)));
    QCOMPARE(runs(f), 1);
    QCOMPARE(shownNextDate(f), due.addDays(days).toString("M/d/yyyy"));
}

QTEST_MAIN(tst_ClockTrigger)
#include "tst_clocktrigger.moc"
