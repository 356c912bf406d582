#include "schedulesteps.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QTest>

using steps::runs;
using steps::shownNextDate;
using steps::tickThrough;

class tst_ClockTrigger : public QObject
{
    Q_OBJECT

  private slots:
    void aDay_data();
    void aDay();
    void oneMinutePastMidnight();
    void missedRuns_data();
    void missedRuns();
    void stop_data();
    void stop();
};

namespace {

const QDate kMarch5(2026, 3, 5);
const QString kWeek = QStringLiteral("7");
const QString kTenPm = QStringLiteral("10:00:00 PM");

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
    f.clock.set(QDateTime(kMarch5, activated));
    steps::activate(f, kWeek, kTenPm);
    QCOMPARE(shownNextDate(f), runsThatDay ? "3/5/2026" : "3/12/2026");

    tickThrough(f, QDateTime(kMarch5, activated), at(5, QTime(21, 59, 59)));
    QCOMPARE(runs(f), 0);
    tickThrough(f, at(5, QTime(22, 0)), at(5, QTime(22, 0)));
    QCOMPARE(runs(f), runsThatDay);
    tickThrough(f, at(5, QTime(22, 0, 1)), at(6, QTime(0, 1)));
    QCOMPARE(runs(f), runsThatDay);
    QCOMPARE(shownNextDate(f), QStringLiteral("3/12/2026"));
    QCOMPARE(f.database.records(Table::Date), QStringList{"2026-03-12"});
}

// The date label turns to the new day one tick after midnight; the earliest time of the list
// comes a minute later.
void tst_ClockTrigger::oneMinutePastMidnight()
{
    WindowFixture f;
    f.clock.set(at(5, QTime(9, 0)));
    f.open();
    steps::activate(f, QStringLiteral("1"), QStringLiteral("12:01:00 AM"));
    QCOMPARE(shownNextDate(f), QStringLiteral("3/6/2026"));

    tickThrough(f, at(5, QTime(23, 59, 50)), at(6, QTime(0, 0, 59)));
    QCOMPARE(runs(f), 0);
    QCOMPARE(shownNextDate(f), QStringLiteral("3/6/2026"));
    tickThrough(f, at(6, QTime(0, 1)), at(6, QTime(0, 2)));
    QCOMPARE(runs(f), 1);
    QCOMPARE(shownNextDate(f), QStringLiteral("3/7/2026"));
}

// No run is made up; the next copy date moves on to today or later, and its day fires.
void tst_ClockTrigger::missedRuns_data()
{
    QTest::addColumn<QString>("days");
    QTest::addColumn<QDateTime>("lastSeen"); // the clock's last tick before the gap
    QTest::addColumn<QDateTime>("nextSeen"); // its first tick after it
    QTest::addColumn<QDateTime>("checked");  // ticking on to here, no run has come
    QTest::addColumn<QString>("movedTo");
    QTest::newRow("10 PM never shown")
        << kWeek << at(5, QTime(21, 59, 59)) << at(5, QTime(22, 0, 1)) << at(6, QTime(0, 0, 1))
        << "3/12/2026";
    QTest::newRow("asleep for three days")
        << "1" << at(5, QTime(21, 0)) << at(8, QTime(8, 0)) << at(8, QTime(8, 0, 5)) << "3/8/2026";
}

void tst_ClockTrigger::missedRuns()
{
    QFETCH(QString, days);
    QFETCH(QDateTime, lastSeen);
    QFETCH(QDateTime, nextSeen);
    QFETCH(QDateTime, checked);
    QFETCH(QString, movedTo);

    WindowFixture f;
    f.clock.set(at(5, QTime(9, 0)));
    f.open();
    steps::activate(f, days, kTenPm);

    tickThrough(f, lastSeen, lastSeen);
    tickThrough(f, nextSeen, checked);
    QCOMPARE(runs(f), 0);
    QCOMPARE(shownNextDate(f), movedTo);
    const QDate due = QDate::fromString(movedTo, "M/d/yyyy");
    QCOMPARE(f.database.records(Table::Date), QStringList{due.toString(Qt::ISODate)});

    tickThrough(f, QDateTime(due, QTime(21, 59, 58)), QDateTime(due, QTime(22, 0, 2)));
    QCOMPARE(runs(f), 1);
    QCOMPARE(shownNextDate(f), due.addDays(days.toInt()).toString("M/d/yyyy"));
}

void tst_ClockTrigger::stop_data()
{
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("automaticAgain"); // the box checked again after the stop
    QTest::addColumn<int>("runsAtTen");
    QTest::newRow("stopped") << true << false << 0;
    QTest::newRow("stopped, automatic box checked again") << true << true << 0;
    QTest::newRow("stop cancelled") << false << false << 1;
}

// A stopped schedule leaves its date and time on the window; they start nothing.
void tst_ClockTrigger::stop()
{
    QFETCH(bool, ok);
    QFETCH(bool, automaticAgain);
    QFETCH(int, runsAtTen);

    WindowFixture f;
    f.clock.set(at(5, QTime(9, 0)));
    f.open();
    steps::activate(f, kWeek, kTenPm);
    f.messages.answers.enqueue(ok);
    f.find<QCheckBox>(QStringLiteral("CkStopAutoSync"))->setChecked(true);
    if (automaticAgain)
        f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->setChecked(true);
    QCOMPARE(shownNextDate(f), QStringLiteral("3/5/2026"));

    tickThrough(f, at(5, QTime(21, 59, 58)), at(5, QTime(22, 0, 2)));
    QCOMPARE(runs(f), runsAtTen);
}

QTEST_MAIN(tst_ClockTrigger)
#include "tst_clocktrigger.moc"
