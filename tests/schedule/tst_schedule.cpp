// The schedule on its own: what activation, a restart, the clock's seconds and a copy run make
// of the next copy date, in the answers and in the settings database.
#include "fakes.h"
#include "testdatabase.h"

#include "schedule/schedule.h"

#include <QLocale>
#include <QTest>

namespace {

const QDate kToday(2026, 3, 5);
const QString kTenPm = QStringLiteral("10:00:00 PM");

PairEntries pairs(bool locked, bool pathEntered)
{
    PairEntries entries;
    entries[FolderPair(1)].locked = locked;
    // The path stands in another pair: the checks look at the pairs as a whole.
    entries[FolderPair(3)].to = pathEntered ? QStringLiteral("/media/usb") : QString();
    return entries;
}

} // namespace

class tst_Schedule : public QObject
{
    Q_OBJECT

    TestDatabase *m_db = nullptr;
    FakeClock m_clock;

    // Switched on and activated by the button at `now`.
    void activate(Schedule &schedule, const QString &interval, const QString &time,
                  const QDateTime &now = {kToday, QTime(9, 0)})
    {
        m_clock.set(now);
        schedule.switchAutomatic(true);
        schedule.chooseInterval(interval);
        schedule.chooseTimeOfDay(time);
        if (schedule.activate(pairs(true, true), Schedule::ActivatedBy::Button))
            qFatal("activation refused");
    }
    bool dueAt(Schedule &schedule, const QDateTime &moment)
    {
        m_clock.set(moment);
        return schedule.tick(moment).runDue;
    }

  private slots:
    // The stored and compared texts do not follow the user's language or region.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void init()
    {
        m_db = new TestDatabase;
        m_clock.set({kToday, QTime(9, 0)});
    }
    void cleanup() { delete m_db; }

    void restoreShapesTheTables_data()
    {
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<QStringList>("intervals");
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<QStringList>("afterwards"); // flag, time, date, interval, each one record
        QTest::addColumn<QStringList>("picked");     // interval and time taken, when automatic

        QTest::newRow("empty database")
            << QStringList() << QStringList() << QStringList() << false
            << QStringList{"0", "12:01:00 AM", "2026-03-05", "1"} << QStringList{"", ""};
        QTest::newRow("the newest flag counts")
            << QStringList{"1", "0"} << QStringList{"7"} << QStringList{kTenPm} << false
            << QStringList{"0", kTenPm, "2026-03-05", "7"} << QStringList{"", ""};
        QTest::newRow("the newest interval and time")
            << QStringList{"1"} << QStringList{"3", "7", "14"} << QStringList{kTenPm, "1:00:00 AM"}
            << true << QStringList{"1", "1:00:00 AM", "2026-03-05", "14"}
            << QStringList{"14", "1:00:00 AM"};
        QTest::newRow("texts that are no list entries")
            << QStringList{"1"} << QStringList{"45"} << QStringList{"22:00"} << true
            << QStringList{"1", "22:00", "2026-03-05", "45"} << QStringList{"", ""};
    }

    void restoreShapesTheTables()
    {
        QFETCH(QStringList, flags);
        QFETCH(QStringList, intervals);
        QFETCH(QStringList, times);
        QFETCH(bool, automatic);
        QFETCH(QStringList, afterwards);
        QFETCH(QStringList, picked);
        m_db->add(Table::AutoSync, flags);
        m_db->add(Table::Days, intervals);
        m_db->add(Table::Time, times);
        m_db->add(Table::Date, {"2026-01-01", "2026-04-01"});
        Schedule schedule(m_db->store(), m_clock);

        QCOMPARE(schedule.restore(), automatic);
        QStringList records;
        for (Table table : {Table::AutoSync, Table::Time, Table::Date, Table::Days})
            records += m_db->records(table);
        QCOMPARE(records, afterwards);
        QCOMPARE((QStringList{schedule.interval(), schedule.timeOfDay()}), picked);
    }

    void activation_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("pathEntered");
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QTime>("now");
        QTest::addColumn<QString>("outcome"); // the refusal's message, or the date stored

        const QString noDaysOrTime =
            QStringLiteral("Please make sure the Days Time fields are entered before proceeding.");
        const QString nothing = QStringLiteral(
            "You cannot %1 unless at least 1 set of paths have been entered and locked in by "
            "checking the box next to the paths.");
        const QTime nine(9, 0);
        QTest::newRow("no pair locked") << false << true << true << "7" << kTenPm << nine
                                        << nothing.arg(QLatin1String("Xcopy"));
        QTest::newRow("a lock but no path") << true << false << true << "7" << kTenPm << nine
                                            << nothing.arg(QLatin1String("XCopy"));
        QTest::newRow("no interval")
            << true << true << true << "" << kTenPm << nine << noDaysOrTime;
        QTest::newRow("no time") << true << true << true << "7"
                                 << "" << nine << noDaysOrTime;
        QTest::newRow("automatic mode off")
            << true << true << false << "7" << kTenPm << nine << noDaysOrTime;
        QTest::newRow("time still to come") << true << true << true << "7"
                                            << "3:00:00 PM" << QTime(14, 0) << "2026-03-05";
        QTest::newRow("the same second is past") << true << true << true << "7"
                                                 << "2:00:00 PM" << QTime(14, 0) << "2026-03-12";
        QTest::newRow("a second past 12:01 AM") << true << true << true << "1"
                                                << "12:01:00 AM" << QTime(0, 1, 1) << "2026-03-06";
        QTest::newRow("across a month end") << true << true << true << "30"
                                            << "1:00:00 AM" << nine << "2026-04-04";
    }

    void activation()
    {
        QFETCH(bool, locked);
        QFETCH(bool, pathEntered);
        QFETCH(bool, automatic);
        QFETCH(QString, interval);
        QFETCH(QString, time);
        QFETCH(QTime, now);
        QFETCH(QString, outcome);
        Schedule schedule(m_db->store(), m_clock);
        schedule.switchAutomatic(automatic);
        schedule.chooseInterval(interval);
        schedule.chooseTimeOfDay(time);
        m_db->add(Table::Date, {"2026-03-01"});
        const QStringList datesBefore = m_db->records(Table::Date);
        m_clock.set({kToday, now});

        const auto refusal =
            schedule.activate(pairs(locked, pathEntered), Schedule::ActivatedBy::Button);

        const bool refused = !outcome.startsWith(QLatin1String("2026"));
        QCOMPARE(refusal ? Schedule::message(*refusal) : QString(), refused ? outcome : QString());
        QCOMPARE(schedule.active(), !refused);
        QCOMPARE(m_db->records(Table::Date), refused ? datesBefore : QStringList{outcome});
        QCOMPARE(m_db->records(Table::Days), refused ? QStringList() : QStringList{interval});
        QCOMPARE(m_db->records(Table::Time), refused ? QStringList() : QStringList{time});
        if (!refused)
            QCOMPARE(schedule.nextCopyDate().value_or(QDate()),
                     QDate::fromString(outcome, Qt::ISODate));
    }

    // The stored next copy date is kept over a restart at the given time, for a weekly schedule
    // at 10 PM. Today is 5 March.
    void restartKeepsTheSchedule_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QTime>("startedAt");
        QTest::addColumn<QDate>("next");
        const QTime morning(9, 0), night(23, 0);
        QTest::newRow("in 3 days") << "2026-03-08" << morning << QDate(2026, 3, 8);
        QTest::newRow("today, the time to come") << "2026-03-05" << morning << kToday;
        QTest::newRow("today, the time gone") << "2026-03-05" << night << QDate(2026, 3, 12);
        QTest::newRow("today, in the chosen second")
            << "2026-03-05" << QTime(22, 0) << QDate(2026, 3, 12);
        QTest::newRow("10 days ago") << "2026-02-23" << morning << QDate(2026, 3, 9);
        QTest::newRow("two weeks ago, the time to come") << "2026-02-19" << morning << kToday;
        QTest::newRow("two weeks ago, the time gone")
            << "2026-02-19" << night << QDate(2026, 3, 12);
        QTest::newRow("none, the time to come") << "" << morning << kToday;
        QTest::newRow("none, the time gone") << "" << night << QDate(2026, 3, 12);
        QTest::newRow("not a stored date") << "3/8/2026" << morning << kToday;
    }

    void restartKeepsTheSchedule()
    {
        QFETCH(QString, stored);
        QFETCH(QTime, startedAt);
        QFETCH(QDate, next);
        m_db->add(Table::AutoSync, {"1"});
        m_db->add(Table::Days, {"7"});
        m_db->add(Table::Time, {kTenPm});
        if (!stored.isEmpty())
            m_db->add(Table::Date, {stored});
        m_clock.set({kToday, startedAt});
        Schedule schedule(m_db->store(), m_clock);

        QVERIFY(schedule.restore());
        schedule.switchAutomatic(true);
        QVERIFY(!schedule.activate(pairs(true, true), Schedule::ActivatedBy::Restart));

        QCOMPARE(schedule.nextCopyDate().value_or(QDate()), next);
        QCOMPARE(m_db->records(Table::Date), QStringList{next.toString(Qt::ISODate)});
        QVERIFY(!dueAt(schedule, {kToday, startedAt})); // nothing is made up
        QCOMPARE(dueAt(schedule, {kToday, QTime(22, 0)}), next == kToday);
    }

    // Started every morning and left running until midnight: a weekly schedule runs once a week.
    void startedEachMorningForTwoWeeks()
    {
        QList<QDate> runs;
        for (int day = 0; day < 14; ++day) {
            const QDate date = kToday.addDays(day);
            m_clock.set({date, QTime(8, 0)});
            Schedule schedule(m_db->store(), m_clock);
            if (schedule.restore()) {
                schedule.switchAutomatic(true);
                QVERIFY(!schedule.activate(pairs(true, true), Schedule::ActivatedBy::Restart));
            } else {
                activate(schedule, QStringLiteral("7"), kTenPm, {date, QTime(8, 0)});
            }
            for (const QTime &time : {QTime(21, 59, 59), QTime(22, 0), QTime(22, 0, 1)}) {
                if (dueAt(schedule, {date, time})) {
                    runs.append(date);
                    schedule.afterRun();
                }
            }
        }
        QCOMPARE(runs, (QList<QDate>{kToday, kToday.addDays(7)}));
    }

    // No run is made up; the next copy date moves on to today or later.
    void missedRunsMoveTheDateOn_data()
    {
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QDateTime>("nextSeen"); // the first tick after the gap
        QTest::addColumn<QDate>("due");
        QTest::newRow("10 PM never shown")
            << "7" << QDateTime(kToday.addDays(1), QTime(0, 0, 1)) << QDate(2026, 3, 12);
        QTest::newRow("asleep for three days")
            << "1" << QDateTime(kToday.addDays(3), QTime(8, 0)) << QDate(2026, 3, 8);
    }

    void missedRunsMoveTheDateOn()
    {
        QFETCH(QString, interval);
        QFETCH(QDateTime, nextSeen);
        QFETCH(QDate, due);
        Schedule schedule(m_db->store(), m_clock);
        activate(schedule, interval, kTenPm);
        QVERIFY(!dueAt(schedule, {kToday, QTime(21, 59, 59)}));

        m_clock.set(nextSeen);
        const Schedule::Tick tick = schedule.tick(nextSeen);
        QVERIFY(tick.dateMoved && !tick.runDue);
        QCOMPARE(schedule.nextCopyDate().value_or(QDate()), due);
        QCOMPARE(m_db->records(Table::Date), QStringList{due.toString(Qt::ISODate)});
        QVERIFY(dueAt(schedule, {due, QTime(22, 0)}));
        QVERIFY(!dueAt(schedule, {due, QTime(22, 0, 1)})); // the chosen second only
    }

    void runMovesTheDateOn_data()
    {
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<QStringList>("kept"); // the one record after each of two runs

        // The first record is the stored date; the last one is the newest. The window shows the
        // kept date when the automatic mode is on.
        const QStringList dates{"2026-03-28", "2026-01-02"};
        QTest::newRow("on: D+7, then D+14")
            << true << "7" << dates << QStringList{"2026-04-04", "2026-04-11"};
        QTest::newRow("off: cut to the newest")
            << false << "7" << dates << QStringList{"2026-01-02", "2026-01-02"};
        QTest::newRow("on without an interval: cut to the newest")
            << true << "" << dates << QStringList{"2026-01-02", "2026-01-02"};
        QTest::newRow("on without a date") << true << "7" << QStringList() << QStringList{"", ""};
    }

    void runMovesTheDateOn()
    {
        QFETCH(bool, automatic);
        QFETCH(QString, interval);
        QFETCH(QStringList, dates);
        QFETCH(QStringList, kept);
        Schedule schedule(m_db->store(), m_clock);
        schedule.switchAutomatic(automatic);
        schedule.chooseInterval(interval);
        m_db->execute(QStringLiteral("DELETE FROM tblDate"));
        m_db->add(Table::Date, dates);

        for (const QString &date : kept) {
            const std::optional<QDate> next = schedule.afterRun();
            QCOMPARE(m_db->records(Table::Date).join(QString()), date);
            QCOMPARE(next.value_or(QDate()),
                     automatic ? QDate::fromString(date, Qt::ISODate) : QDate());
        }
    }
};

QTEST_GUILESS_MAIN(tst_Schedule)
#include "tst_schedule.moc"
