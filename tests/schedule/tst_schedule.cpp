// The schedule on its own: what the restore, activation, a restart, the clock's ticks and a copy
// run make of the next copy date, in the answers and in the settings database.
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
#include <tuple>

namespace {

const QDate kToday(2026, 3, 5);
const QString kTenPm = QStringLiteral("10:00:00 PM");

QDate day(int fromToday)
{
    return kToday.addDays(fromToday);
}

} // namespace

class tst_Schedule : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
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

    // Switched on and activated by the button.
    void activate(Schedule &schedule, const QString &interval, const QString &time)
    {
        if (!schedule.switchAutomatic(true).ok())
            qFatal("not switched on");
        schedule.chooseInterval(interval);
        schedule.chooseTimeOfDay(time);
        const Schedule::Activation activation =
            schedule.activate(pairs(true, true), Schedule::ActivatedBy::Button);
        if (activation.refusal || !activation.saved.ok())
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
        m_db = std::make_unique<TestDatabase>();
        m_clock.set({kToday, QTime(9, 0)});
    }

    // The restore leaves one record in each schedule table, today's date as the next copy date,
    // and with the automatic mode on takes the interval and time when they are list entries and
    // switches the mode on again, which adds today's date once more.
    void restoreShapesTheTables()
    {
        // The records found, those left in the flag, time, date and interval tables, and the
        // interval and time taken.
        using Row = std::tuple<QStringList, QStringList, QStringList, QStringList, QStringList>;
        const QString today = "2026-03-05";
        // clang-format off
        const Row rows[] = {
            {{}, {}, {}, {"0", "12:01:00 AM", today, "1"}, {"", ""}},
            {{"1", "0"}, {"7"}, {kTenPm}, {"0", kTenPm, today, "7"}, {"", ""}},
            {{"1"}, {"3", "7", "14"}, {kTenPm, "1:00:00 AM"},
             {"1", "1:00:00 AM", today, today, "14"}, {"14", "1:00:00 AM"}},
            {{"1"}, {"1"}, {"12:01:00 AM"},
             {"1", "12:01:00 AM", today, today, "1"}, {"1", "12:01:00 AM"}},
            {{"1"}, {"30"}, {"11:00:00 PM"},
             {"1", "11:00:00 PM", today, today, "30"}, {"30", "11:00:00 PM"}},
            {{"1"}, {"31"}, {"12:00:00 PM"}, {"1", "12:00:00 PM", today, today, "31"}, {"", ""}},
        };
        // clang-format on
        for (const auto &[flags, intervals, times, afterwards, picked] : rows) {
            init();
            m_db->add(Table::AutoSync, flags);
            m_db->add(Table::Days, intervals);
            m_db->add(Table::Time, times);
            m_db->add(Table::Date, {"2026-01-01", "2026-04-01"});
            Schedule schedule(m_db->store(), m_clock);
            QVERIFY(schedule.restore().ok());
            QCOMPARE(schedule.automatic(), flags.value(flags.size() - 1) == "1");
            QVERIFY(!schedule.active()); // until activated again
            QStringList records;
            for (Table table : {Table::AutoSync, Table::Time, Table::Date, Table::Days})
                records += m_db->records(table);
            QCOMPARE(records, afterwards);
            QCOMPARE((QStringList{schedule.interval(), schedule.timeOfDay()}), picked);
        }
    }

    // Activation by the button: its three refusals change nothing; otherwise it stores the date,
    // the interval and the time. The date is today while the chosen time is still to come (to
    // the millisecond), else one interval on.
    void activation()
    {
        // Pair 1 locked, a path entered, the automatic mode on, the picks, the time of the
        // activation, and the refusal's message or the date stored.
        using Row = std::tuple<const char *, bool, bool, bool, QString, QString, QTime, QString>;
        const QString noDaysOrTime = "Please make sure the Days Time fields are entered before "
                                     "proceeding.";
        const QString nothing = "You cannot %1 unless at least 1 set of paths have been entered "
                                "and locked in by checking the box next to the paths.";
        const QTime nine(9, 0);
        const Row rows[] = {
            {"no pair locked", false, true, true, "7", kTenPm, nine, nothing.arg("Xcopy")},
            {"a lock, no path", true, false, true, "7", kTenPm, nine, nothing.arg("XCopy")},
            {"no interval", true, true, true, "", kTenPm, nine, noDaysOrTime},
            {"no time", true, true, true, "7", "", nine, noDaysOrTime},
            {"not a list entry", true, true, true, "31", kTenPm, nine, noDaysOrTime},
            {"automatic mode off", true, true, false, "7", kTenPm, nine, noDaysOrTime},
            {"time to come", true, true, true, "7", "3:00:00 PM", QTime(14, 0), "2026-03-05"},
            {"the same second", true, true, true, "7", "2:00:00 PM", QTime(14, 0), "2026-03-12"},
            {"past 12:01 AM", true, true, true, "1", "12:01:00 AM", QTime(0, 1, 1), "2026-03-06"},
            {"a ms before", true, true, true, "1", "11:00:00 PM", QTime(22, 59, 59, 999),
             "2026-03-05"},
            {"a ms into", true, true, true, "1", "11:00:00 PM", QTime(23, 0, 0, 1), "2026-03-06"},
            {"12:01 PM", true, true, true, "2", "12:01:00 PM", QTime(12, 0), "2026-03-05"},
            {"month end", true, true, true, "30", "1:00:00 AM", nine, "2026-04-04"},
        };
        for (const auto &[name, locked, pathEntered, automatic, interval, time, now, outcome] :
             rows) {
            init();
            Schedule schedule(m_db->store(), m_clock);
            QVERIFY(schedule.switchAutomatic(automatic).ok());
            schedule.chooseInterval(interval);
            schedule.chooseTimeOfDay(time);
            const QStringList datesBefore = m_db->records(Table::Date);
            m_clock.set({kToday, now});

            const Schedule::Activation activation =
                schedule.activate(pairs(locked, pathEntered), Schedule::ActivatedBy::Button);

            const bool refused = !outcome.startsWith("2026");
            QVERIFY2(activation.saved.ok(), name);
            QCOMPARE(activation.refusal ? Schedule::message(*activation.refusal) : QString(),
                     refused ? outcome : QString());
            QCOMPARE(schedule.active(), !refused);
            QCOMPARE(m_db->records(Table::Date), refused ? datesBefore : QStringList{outcome});
            QCOMPARE(m_db->records(Table::Days) + m_db->records(Table::Time),
                     refused ? QStringList() : QStringList({interval, time}));
            QCOMPARE(schedule.nextCopyDate().value_or(QDate()),
                     refused ? QDate() : QDate::fromString(outcome, Qt::ISODate));
        }
    }

    // The date rules, one condition at a time, for a weekly schedule at 10 PM on 5 March: a
    // restart keeps the stored date where it still lies ahead; a missed date moves on by whole
    // intervals.
    void dateRulesOneConditionAtATime()
    {
        const QTime before(21, 59, 59, 999), at(22, 0), after(22, 0, 0, 1);
        // A restart, else a missed run; the stored date, the time now, the next date.
        using Row = std::tuple<const char *, bool, QDate, QTime, QDate>;
        const Row rows[] = {
            {"no date, the time to come", true, {}, before, kToday},
            {"no date, the time now", true, {}, at, day(7)},
            {"tomorrow, the time gone", true, day(1), after, day(1)},
            {"today, the time to come", true, kToday, before, kToday},
            {"today, the time now", true, kToday, at, day(7)},
            {"a day ago", true, day(-1), before, day(6)},
            {"a week ago, the time to come", true, day(-7), before, kToday},
            {"a week ago, the time gone", true, day(-7), after, day(7)},
            {"missed a day ago", false, day(-1), at, day(6)},
            {"missed 14 days ago", false, day(-14), at, kToday},
            {"missed 15 days ago", false, day(-15), at, day(6)},
            {"not missed", false, kToday, at, kToday},
        };
        for (const auto &[name, restart, stored, now, expected] : rows) {
            const QDate next = restart ? restartDate(stored, {kToday, now}, QTime(22, 0), 7)
                                       : dateAfterMissedRuns(stored, kToday, 7);
            QVERIFY2(next == expected, name);
        }
    }

    // A due run fires at the first tick at or after the chosen time on the next copy date, once
    // (so an hour that daylight saving skips, or brings twice, still gets its one run).
    // Ticks are "d hh:mm:ss.zzz", d days after an activation at 9 AM on 5 March for every 7 days;
    // the runs name the ticks that fired them. A date that went by moves on, saved, and no run is
    // made up for it; one that cannot be saved is said.
    void dueRunFiresOnceAtTheFirstTickFromItsTime()
    {
        // The chosen time, the ticks, the runs, the next date after the last tick.
        using Row = std::tuple<const char *, QString, QStringList, QList<int>, QDate>;
        // clang-format off
        const Row rows[] = {
            {"on its second", kTenPm,
             {"0 21:59:59.999", "0 22:00:00.004", "0 22:00:01.000"}, {1}, kToday},
            {"twice in its second", kTenPm, {"0 22:00:00.004", "0 22:00:00.990"}, {0}, kToday},
            {"40 minutes late", kTenPm,
             {"0 21:59:59.004", "0 22:40:00.004", "0 22:40:01.000"}, {1}, kToday},
            {"woken up the next day", kTenPm,
             {"0 21:00:00.000", "1 08:00:00.000", "1 22:00:00.000"}, {}, day(7)},
            {"a week later", kTenPm,
             {"1 22:00:00.000", "7 21:59:59.500", "7 22:00:00.500"}, {2}, day(7)},
            {"12:01 AM", "12:01:00 AM",
             {"7 00:00:59.999", "7 00:01:00.000", "7 23:59:59.000"}, {1}, day(7)},
        };
        // clang-format on
        for (const auto &[name, time, ticks, runs, next] : rows) {
            init();
            Schedule schedule(m_db->store(), m_clock);
            activate(schedule, QStringLiteral("7"), time);
            QList<int> fired;
            for (int n = 0; n < ticks.size(); ++n) {
                const QDateTime moment(day(ticks[n].section(' ', 0, 0).toInt()),
                                       QTime::fromString(ticks[n].section(' ', 1), "hh:mm:ss.zzz"));
                if (dueAt(schedule, moment))
                    fired.append(n);
            }
            QVERIFY2(fired == runs, name);
            QCOMPARE(m_db->records(Table::Date), QStringList{next.toString(Qt::ISODate)});
        }

        init();
        Schedule schedule(m_db->store(), m_clock);
        activate(schedule, QStringLiteral("1"), kTenPm);
        m_db->failEvery("INSERT", Table::Date);
        const Schedule::Tick unsaved = schedule.tick({day(2), QTime(8, 0)});
        QVERIFY(unsaved.dateMoved && !unsaved.runDue);
        QVERIFY(unsaved.saved.why().contains(QLatin1String("the next copy date")));
        QCOMPARE(schedule.nextCopyDate(), std::optional(day(2))); // for as long as it runs
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

    // After a run the stored date is cut to one record; with the automatic mode on it first
    // moves on by the interval from the stored date (the first record) and is returned.
    void runMovesTheDateOn()
    {
        // The mode, the interval, the dates stored, the one record after each of two runs.
        using Row = std::tuple<bool, QString, QStringList, QStringList>;
        const QStringList dates{"2026-03-28", "2026-01-02"};
        const Row rows[] = {
            {true, "7", dates, {"2026-04-04", "2026-04-11"}},
            {false, "7", dates, {"2026-01-02", "2026-01-02"}},
            {true, "", dates, {"2026-01-02", "2026-01-02"}},
            {true, "7", {}, {"", ""}},
        };
        for (const auto &[automatic, interval, stored, kept] : rows) {
            init();
            Schedule schedule(m_db->store(), m_clock);
            QVERIFY(schedule.switchAutomatic(automatic).ok());
            schedule.chooseInterval(interval);
            m_db->execute(QStringLiteral("DELETE FROM tblDate"));
            m_db->add(Table::Date, stored);
            for (const QString &date : kept) {
                const Result<std::optional<QDate>> next = schedule.afterRun();
                QVERIFY(next.outcome().ok());
                QCOMPARE(m_db->records(Table::Date).join(QString()), date);
                QCOMPARE(next.value().value_or(QDate()),
                         automatic ? QDate::fromString(date, Qt::ISODate) : QDate());
            }
        }
    }
};

QTEST_GUILESS_MAIN(tst_Schedule)
#include "tst_schedule.moc"
