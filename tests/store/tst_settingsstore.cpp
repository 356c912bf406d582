#include "testdatabase.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <future>

using Operation = std::function<bool(SettingsStore &)>;
Q_DECLARE_METATYPE(Operation)

class tst_SettingsStore : public QObject
{
    Q_OBJECT

  private slots:
    void recordOperations_data();
    void recordOperations();
    void stopLeavesOnlyTheFlagOff();
    void aSaveWaitsForAnotherProgramsSave();
    void aProgramKilledWhileSavingLosesNothingSaved();
};

void tst_SettingsStore::recordOperations_data()
{
    QTest::addColumn<QStringList>("before"); // the intervals stored
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<bool>("diskFull");
    QTest::addColumn<QString>("failed"); // what the report says could not be done; "" for none
    const auto row = [](const char *name, const QStringList &before, const Operation &operation,
                        const QStringList &after) {
        QTest::newRow(name) << before << operation << after << false << QString();
    };
    // On a full disk an operation changes nothing, and says so.
    const auto onFullDisk = [](const char *name, const QStringList &before, const char *failed,
                               const Operation &operation) {
        QTest::newRow(name) << before << operation << before << true << QString(failed);
    };
    const Operation clear = [](SettingsStore &s) { return s.ClearTable(Table::Days); };
    const Operation keepNewest = [](SettingsStore &s) { return s.KeepNewestRecord(Table::Days); };
    const Operation append = [](SettingsStore &s) { return s.AppendRecord(Table::Days, "30"); };
    const Operation replace = [](SettingsStore &s) { return s.ReplaceRecord(Table::Days, "30"); };
    const Operation seed = [](SettingsStore &s) { return s.SeedIfEmpty(Table::Days, "30"); };
    const QStringList three{"3", "7", "14"};
    const char *days = "save the interval in days";

    row("clear", three, clear, {});
    row("keep the newest", three, keepNewest, {"14"});
    row("append", three, append, {"3", "7", "14", "30"});
    row("replace another value", {"7"}, replace, {"30"});
    row("replace, the value among others", {"7", "30"}, replace, {"30"});
    row("seed an empty table", {}, seed, {"30"});
    row("seed a table that holds records", three, seed, three);
    onFullDisk("replace", three, days, replace);
    // The table holds just this value already: nothing is written, so nothing can fail.
    onFullDisk("replace by the value held", {"30"}, "", replace);
    onFullDisk("stop", three, "save the automatic copy setting",
               [](SettingsStore &s) { return s.DBDelete(); });
    onFullDisk("several steps together", three, "save the next copy date", [=](SettingsStore &s) {
        return s.together([&] { return clear(s) && s.AppendRecord(Table::Date, "5"); });
    });
    onFullDisk("a replacement inside steps taken together", three, days,
               [=](SettingsStore &s) { return s.together([&] { return replace(s); }); });
}

void tst_SettingsStore::recordOperations()
{
    QFETCH(QStringList, before);
    QFETCH(Operation, operation);
    QFETCH(QStringList, after);
    QFETCH(bool, diskFull);
    QFETCH(QString, failed);

    TestDatabase db;
    QStringList reports;
    db.store().setFailureReport([&](const QString &message) { reports.append(message); });
    db.add(Table::Days, before);
    db.add(Table::Path1, {"/home/me"});
    const QString full = "database or disk is full";
    // Every insert into these tables fails.
    for (const QString table : {"tblDays", "tblDate", "tblAutoSync"}) {
        if (diskFull)
            db.execute(QString("CREATE TRIGGER full_%1 BEFORE INSERT ON %1 "
                               "BEGIN SELECT RAISE(ABORT, '%2'); END")
                           .arg(table, full));
    }

    QCOMPARE(operation(db.store()), failed.isEmpty());
    const QString report =
        QString("Could not %1 in the settings database %2: %3").arg(failed, db.path(), full);
    QCOMPARE(reports, failed.isEmpty() ? QStringList() : QStringList{report});
    QCOMPARE(db.records(Table::Days), after);
    QCOMPARE(db.store().ReadField(Table::Days).value_or("none"), after.value(0, "none"));
    QCOMPARE(db.store().ReadNewestField(Table::Days).value_or("none"),
             after.value(after.size() - 1, "none"));
    QCOMPARE(db.records(Table::Path1), QStringList{"/home/me"});
}

void tst_SettingsStore::stopLeavesOnlyTheFlagOff()
{
    TestDatabase db;
    for (const TableDefinition &def : kTables)
        db.add(def.table, {"a", "b"});

    QVERIFY(db.store().DBDelete());
    for (const TableDefinition &def : kTables)
        QCOMPARE(db.records(def.table),
                 def.table == Table::AutoSync ? QStringList{"0"} : QStringList());
}

// Another program's save makes a save wait, not fail.
void tst_SettingsStore::aSaveWaitsForAnotherProgramsSave()
{
    TestDatabase db;
    db.execute("BEGIN IMMEDIATE");
    std::future<bool> saved = std::async(std::launch::async, [&] {
        QString error;
        return SettingsStore::open(db.path(), &error)->AppendRecord(Table::Days, "7");
    });
    QCOMPARE(saved.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
    db.execute("COMMIT");
    QVERIFY(saved.get());
}

// A program killed in the middle of saving leaves settings that pass SQLite's integrity check,
// with every save that had returned and no half of one.
void tst_SettingsStore::aProgramKilledWhileSavingLosesNothingSaved()
{
    TestDatabase db;
    // Each kill falls at a chance point of a round, so that some fall inside a save.
    for (int kill = 1; kill <= 20; ++kill) {
        QProcess saver;
        QElapsedTimer clock;
        clock.start();
        saver.start(SAVE_LOOP, {db.path()});
        while (saver.peek(1 << 16).count('\n') < 10)
            QVERIFY2(saver.waitForReadyRead(10000), saver.readAllStandardError().constData());
        const qint64 microsecondsPerRound = clock.nsecsElapsed() / 1000 / 10;
        QThread::usleep(QRandomGenerator::global()->bounded(microsecondsPerRound + 1));
        saver.kill();
        QVERIFY(saver.waitForFinished(10000));
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);
        const int lastSaved = saver.readAllStandardOutput().trimmed().split('\n').last().toInt();

        QCOMPARE(db.execute("PRAGMA integrity_check"), "ok");
        // Each round appends its number once: every round up to the last one that returned.
        const QStringList rounds = db.records(Table::Path1);
        QCOMPARE(rounds.last().toInt(), rounds.size());
        QCOMPARE_GE(rounds.size(), lastSaved);
        // Before that it replaces the date, never only half of it.
        QCOMPARE(db.records(Table::Date).size(), 1);
    }
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
