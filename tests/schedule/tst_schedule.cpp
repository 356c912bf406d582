// The schedule on its own: what activation, a restart, the clock's seconds and a copy run make
// of the next copy date, in the answers and in the settings database.
#include "fakes.h"
#include "testdatabase.h"

#include "common/textforms.h"
#include "pairs/folderpairs.h"
#include "schedule/nextcopydate.h"
#include "schedule/schedule.h"
#include "schedule/schedulelists.h"

#include <QLocale>
#include <QTest>

#include <memory>

namespace {

const QDate kToday(2026, 3, 5);
const QString kTenPm = QStringLiteral("10:00:00 PM");

bool ok(const Schedule::Activation &activation)
{
    return !activation.refusal && activation.saved.ok();
}

} // namespace

class tst_Schedule : public QObject
{
    Q_OBJECT

    TestDatabase *m_db = nullptr;
    FakeClock m_clock;
    std::unique_ptr<FolderPairs> m_pairs;

    // Pair 1 locked, or not, and a path entered in pair 3, or not: the checks look at the pairs
    // as a whole.
    FolderPairs &pairs(bool locked, bool pathEntered)
    {
        m_pairs = std::make_unique<FolderPairs>(m_db->store());
        m_pairs->type(FolderPair(3), Side::To, pathEntered ? "/media/usb" : "");
        if (locked && !m_pairs->lock(FolderPair(1)).ok())
            qFatal("pair 1 not locked");
        return *m_pairs;
    }

    // Switched on and activated by the button at `now`.
    void activate(Schedule &schedule, const QString &interval, const QString &time,
                  const QDateTime &now = {kToday, QTime(9, 0)})
    {
        m_clock.set(now);
        if (!schedule.switchAutomatic(true).ok())
            qFatal("not switched on");
        schedule.chooseInterval(interval);
        schedule.chooseTimeOfDay(time);
        if (!ok(schedule.activate(pairs(true, true), Schedule::ActivatedBy::Button)))
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
        // Flag, time, date and interval. Switched on again, the mode adds today's date once more.
        QTest::addColumn<QStringList>("afterwards");
        QTest::addColumn<QStringList>("picked"); // interval and time taken, when automatic

        const QString today = QStringLiteral("2026-03-05");
        QTest::newRow("empty database")
            << QStringList() << QStringList() << QStringList() << false
            << QStringList{"0", "12:01:00 AM", today, "1"} << QStringList{"", ""};
        QTest::newRow("the newest flag counts")
            << QStringList{"1", "0"} << QStringList{"7"} << QStringList{kTenPm} << false
            << QStringList{"0", kTenPm, today, "7"} << QStringList{"", ""};
        QTest::newRow("the newest interval and time")
            << QStringList{"1"} << QStringList{"3", "7", "14"} << QStringList{kTenPm, "1:00:00 AM"}
            << true << QStringList{"1", "1:00:00 AM", today, today, "14"}
            << QStringList{"14", "1:00:00 AM"};
        QTest::newRow("the list ends: 1 day at 12:01 AM")
            << QStringList{"1"} << QStringList{"1"} << QStringList{"12:01:00 AM"} << true
            << QStringList{"1", "12:01:00 AM", today, today, "1"}
            << QStringList{"1", "12:01:00 AM"};
        QTest::newRow("the list ends: 30 days at 11 PM")
            << QStringList{"1"} << QStringList{"30"} << QStringList{"11:00:00 PM"} << true
            << QStringList{"1", "11:00:00 PM", today, today, "30"}
            << QStringList{"30", "11:00:00 PM"};
        QTest::newRow("texts that are no list entries")
            << QStringList{"1"} << QStringList{"31"} << QStringList{"12:00:00 PM"} << true
            << QStringList{"1", "12:00:00 PM", today, today, "31"} << QStringList{"", ""};
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

        QVERIFY(schedule.restore().ok());
        QCOMPARE(schedule.automatic(), automatic);
        QVERIFY(!schedule.active()); // until activated again
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
        QTest::newRow("a millisecond before 11 PM")
            << true << true << true << "1"
            << "11:00:00 PM" << QTime(22, 59, 59, 999) << "2026-03-05";
        QTest::newRow("a millisecond into 11 PM") << true << true << true << "1"
                                                  << "11:00:00 PM" << QTime(23, 0, 0, 1)
                                                  << "2026-03-06";
        QTest::newRow("12:01 PM is past noon") << true << true << true << "2"
                                               << "12:01:00 PM" << QTime(12, 0) << "2026-03-05";
        QTest::newRow("across a month end") << true << true << true << "30"
                                            << "1:00:00 AM" << nine << "2026-04-04";
        QTest::newRow("not a list entry") << true << true << true << "31"
                                          << "1:00:00 AM" << nine << noDaysOrTime;
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
        QVERIFY(schedule.switchAutomatic(automatic).ok());
        schedule.chooseInterval(interval);
        schedule.chooseTimeOfDay(time);
        m_db->add(Table::Date, {"2026-03-01"});
        const QStringList datesBefore = m_db->records(Table::Date);
        m_clock.set({kToday, now});

        const Schedule::Activation activation =
            schedule.activate(pairs(locked, pathEntered), Schedule::ActivatedBy::Button);

        const bool refused = !outcome.startsWith(QLatin1String("2026"));
        QVERIFY(activation.saved.ok());
        QCOMPARE(activation.refusal ? Schedule::message(*activation.refusal) : QString(),
                 refused ? outcome : QString());
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

        QVERIFY(schedule.restore().ok());
        QVERIFY(schedule.automatic());
        QVERIFY(ok(schedule.activate(pairs(true, true), Schedule::ActivatedBy::Restart)));

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
            QVERIFY(schedule.restore().ok());
            if (schedule.automatic()) {
                QVERIFY(ok(schedule.activate(pairs(true, true), Schedule::ActivatedBy::Restart)));
            } else {
                activate(schedule, QStringLiteral("7"), kTenPm, {date, QTime(8, 0)});
            }
            for (const QTime &time : {QTime(21, 59, 59), QTime(22, 0), QTime(22, 0, 1)}) {
                if (dueAt(schedule, {date, time})) {
                    runs.append(date);
                    QVERIFY(schedule.afterRun().outcome().ok());
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
        QVERIFY(!dueAt(schedule, {due, QTime(22, 0, 1)})); // once

        // A date moved on that cannot be saved is said, and holds while the program runs.
        m_db->failEvery("INSERT", Table::Date);
        const QDateTime later(due.addDays(1), QTime(8, 0));
        const Schedule::Tick unsaved = schedule.tick(later);
        QVERIFY(unsaved.dateMoved);
        QVERIFY(unsaved.saved.why().contains(QLatin1String("the next copy date")));
        QVERIFY(schedule.nextCopyDate().value_or(QDate()) >= later.date());
    }

    // A due run fires at the first tick at or after the chosen time on the next copy date, once:
    // ticks given as "d hh:mm:ss.zzz", d days after the activation at 9 AM on 5 March for every
    // 7 days at 10 PM. The runs name the ticks that fired them.
    void dueRunFiresOnceAtTheFirstTickFromItsTime_data()
    {
        QTest::addColumn<QString>("time");
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<QList<int>>("runs");
        QTest::newRow("on its second")
            << kTenPm << QStringList{"0 21:59:59.999", "0 22:00:00.004", "0 22:00:01.004"}
            << QList<int>{1};
        QTest::newRow("two ticks in its second")
            << kTenPm << QStringList{"0 22:00:00.004", "0 22:00:00.990"} << QList<int>{0};
        QTest::newRow("a tick 40 minutes late")
            << kTenPm << QStringList{"0 21:59:59.004", "0 22:40:00.004", "0 22:40:01.004"}
            << QList<int>{1};
        QTest::newRow("woken up the next day: no run made up")
            << kTenPm << QStringList{"0 21:00:00.000", "1 08:00:00.000", "1 22:00:00.000"}
            << QList<int>();
        QTest::newRow("a week later, on its second")
            << kTenPm << QStringList{"1 22:00:00.000", "7 21:59:59.500", "7 22:00:00.500"}
            << QList<int>{2};
        QTest::newRow("12:01 AM, the day's first entry")
            << "12:01:00 AM" << QStringList{"7 00:00:59.999", "7 00:01:00.000", "7 23:59:59.000"}
            << QList<int>{1};
    }

    void dueRunFiresOnceAtTheFirstTickFromItsTime()
    {
        QFETCH(QString, time);
        QFETCH(QStringList, ticks);
        QFETCH(QList<int>, runs);
        Schedule schedule(m_db->store(), m_clock);
        activate(schedule, QStringLiteral("7"), time);

        QList<int> fired;
        for (int n = 0; n < ticks.size(); ++n) {
            const QDateTime moment(kToday.addDays(ticks[n].section(' ', 0, 0).toInt()),
                                   QTime::fromString(ticks[n].section(' ', 1), "hh:mm:ss.zzz"));
            if (dueAt(schedule, moment))
                fired.append(n);
        }
        QCOMPARE(fired, runs);
    }

    // Where daylight saving skips the chosen hour, its run comes at the first tick after it;
    // where the hour comes twice, it runs once. Run with the zone Europe/Stockholm.
    void daylightSavingKeepsTheDaysRun_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::newRow("spring: 2 AM never comes") << QDate(2026, 3, 29);
        QTest::newRow("autumn: 2 AM comes twice") << QDate(2026, 10, 25);
    }

    void daylightSavingKeepsTheDaysRun()
    {
        QFETCH(QDate, day);
        const QDateTime start(day, QTime(1, 59, 59));
        if (start.addSecs(1).time() != QTime(3, 0) &&
            start.addSecs(3601).time() != QTime(2, 0))
            QSKIP("the time zone Europe/Stockholm is not in effect");
        Schedule schedule(m_db->store(), m_clock);
        activate(schedule, QStringLiteral("1"), QStringLiteral("2:00:00 AM"),
                 {day.addDays(-1), QTime(9, 0)});

        int runs = 0;
        for (QDateTime moment = start; moment.date() == day; moment = moment.addSecs(1))
            runs += dueAt(schedule, moment) ? 1 : 0;
        QCOMPARE(runs, 1);
    }

    // The date rules one condition at a time, for a weekly schedule at 10 PM on 5 March.
    void dateRulesOneConditionAtATime_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QDate>("stored");
        QTest::addColumn<QTime>("now");
        QTest::addColumn<QDate>("next");
        const QTime before(21, 59, 59, 999), at(22, 0), after(22, 0, 0, 1);
        const QDate week(2026, 3, 12);
        QTest::newRow("activation, the time to come") << "activation" << QDate() << before << kToday;
        QTest::newRow("activation, the time now") << "activation" << QDate() << at << week;
        QTest::newRow("restart, no date, the time to come") << "restart" << QDate() << before
                                                            << kToday;
        QTest::newRow("restart, no date, the time now") << "restart" << QDate() << at << week;
        QTest::newRow("restart, tomorrow, the time gone")
            << "restart" << kToday.addDays(1) << after << kToday.addDays(1);
        QTest::newRow("restart, today, the time to come") << "restart" << kToday << before << kToday;
        QTest::newRow("restart, today, the time now") << "restart" << kToday << at << week;
        QTest::newRow("restart, a day ago, lands in 6 days")
            << "restart" << kToday.addDays(-1) << before << kToday.addDays(6);
        QTest::newRow("restart, a week ago, lands today, the time to come")
            << "restart" << kToday.addDays(-7) << before << kToday;
        QTest::newRow("restart, a week ago, lands today, the time gone")
            << "restart" << kToday.addDays(-7) << after << week;
        QTest::newRow("missed, a day ago") << "missed" << kToday.addDays(-1) << at
                                           << kToday.addDays(6);
        QTest::newRow("missed, 14 days ago") << "missed" << kToday.addDays(-14) << at << kToday;
        QTest::newRow("missed, 15 days ago") << "missed" << kToday.addDays(-15) << at
                                             << kToday.addDays(6);
        QTest::newRow("missed, today") << "missed" << kToday << at << kToday;
    }

    void dateRulesOneConditionAtATime()
    {
        QFETCH(QString, rule);
        QFETCH(QDate, stored);
        QFETCH(QTime, now);
        QFETCH(QDate, next);
        const QDateTime moment(kToday, now);
        const QTime chosen(22, 0);
        const QDate date = rule == "activation" ? activationDate(moment, chosen, 7)
                           : rule == "restart"  ? restartDate(stored, moment, chosen, 7)
                                                : dateAfterMissedRuns(stored, kToday, 7);
        QCOMPARE(date, next);
    }

    // The list entries as they are stored and compared: every time reads as the time it names
    // and is written back the same, midnight and noon one minute past; every interval counts its
    // days.
    void listEntriesReadAsTheyAreWritten()
    {
        QList<QTime> times{QTime(0, 1)};
        for (int hour = 1; hour < 24; ++hour)
            times.append(QTime(hour, hour == 12 ? 1 : 0));
        QCOMPARE(timeEntries().size(), times.size());
        for (qsizetype n = 0; n < times.size(); ++n) {
            QCOMPARE(timeFromText(timeEntries()[n]), times[n]);
            QCOMPARE(timeText(times[n]), timeEntries()[n]);
        }
        QCOMPARE(dayEntries().size(), 30);
        for (int days = 1; days <= 30; ++days)
            QCOMPARE(intervalDays(dayEntries()[days - 1]), std::optional(days));
        for (const char *notAnInterval : {"0", "-1", "", "7 days"})
            QCOMPARE(intervalDays(QLatin1String(notAnInterval)), std::nullopt);
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
        QVERIFY(schedule.switchAutomatic(automatic).ok());
        schedule.chooseInterval(interval);
        m_db->execute(QStringLiteral("DELETE FROM tblDate"));
        m_db->add(Table::Date, dates);

        for (const QString &date : kept) {
            const Result<std::optional<QDate>> next = schedule.afterRun();
            QVERIFY(next.outcome().ok());
            QCOMPARE(m_db->records(Table::Date).join(QString()), date);
            QCOMPARE(next.value().value_or(QDate()),
                     automatic ? QDate::fromString(date, Qt::ISODate) : QDate());
        }
    }
};

QTEST_GUILESS_MAIN(tst_Schedule)
#include "tst_schedule.moc"
