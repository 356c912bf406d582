#include "testdatabase.h"

#include "store/settingsfolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <filesystem>
#include <future>

using Operation = std::function<bool(SettingsStore &)>;
Q_DECLARE_METATYPE(Operation)

class tst_Settings : public QObject
{
    Q_OBJECT

  private slots:
    void recordOperations_data();
    void recordOperations();
    void stopLeavesOnlyTheFlagOff();
    void aSaveWaitsForAnotherProgramsSave();
    void aProgramKilledWhileSavingLosesNothingSaved();
    void settingsArePutInPlace_data();
    void settingsArePutInPlace();
    void settingsAreNotMixedUp();
};

// Each record operation on a good disk, and on a full one, where it changes nothing and reports
// the setting, the file and the reason.
void tst_Settings::recordOperations_data()
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
    const auto onFullDisk = [](const char *name, const QStringList &before, const char *failed,
                               const Operation &operation) {
        QTest::newRow(name) << before << operation << before << true << QString(failed);
    };
    // Quotes, shell characters and a letter beyond ASCII are saved as they are.
    const QString odd = "\"new\" it's/$(date);ü";
    const Operation clear = [](SettingsStore &s) { return s.ClearTable(Table::Days); };
    const Operation keepNewest = [](SettingsStore &s) { return s.KeepNewestRecord(Table::Days); };
    const Operation replace = [=](SettingsStore &s) { return s.ReplaceRecord(Table::Days, odd); };
    const Operation seed = [=](SettingsStore &s) { return s.SeedIfEmpty(Table::Days, odd); };
    const QStringList three{"3", "7", "14"};
    const char *days = "save the interval in days";

    row("keep the newest", three, keepNewest, {"14"});
    row("replace another value", {"7"}, replace, {odd});
    row("replace, the value among others", {"7", odd}, replace, {odd});
    row("seed an empty table", {}, seed, {odd});
    row("seed a table that holds records", three, seed, three);
    onFullDisk("replace", three, days, replace);
    // The table holds just this value already: nothing is written, so nothing can fail.
    onFullDisk("replace by the value held", {odd}, "", replace);
    onFullDisk("stop", three, "save the automatic copy setting",
               [](SettingsStore &s) { return s.DBDelete(); });
    onFullDisk("several steps together", three, "save the next copy date", [=](SettingsStore &s) {
        return s.together([&] { return clear(s) && s.AppendRecord(Table::Date, "5"); });
    });
    onFullDisk("a replacement inside steps taken together", three, days,
               [=](SettingsStore &s) { return s.together([&] { return replace(s); }); });
}

void tst_Settings::recordOperations()
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
    // Reads give the oldest record and the newest.
    QCOMPARE(db.store().ReadField(Table::Days).value_or("none"), after.value(0, "none"));
    QCOMPARE(db.store().ReadNewestField(Table::Days).value_or("none"),
             after.value(after.size() - 1, "none"));
    QCOMPARE(db.records(Table::Path1), QStringList{"/home/me"});
}

// The stop empties every setting and leaves the automatic copy off.
void tst_Settings::stopLeavesOnlyTheFlagOff()
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
void tst_Settings::aSaveWaitsForAnotherProgramsSave()
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
void tst_Settings::aProgramKilledWhileSavingLosesNothingSaved()
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

// The install's step that puts the settings in place: a data folder of the owner's alone, linked
// from the installation folder, and never a lost setting or another file taken from its owner.
void tst_Settings::settingsArePutInPlace_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("earlierOwner"); // of the settings there were; "" for the tester
    QTest::addColumn<QString>("handOverTo");
    QTest::addColumn<QString>("newOwner");
    QTest::addColumn<QString>("owner"); // of the settings afterwards; "" for the tester
    const auto row = [](const char *name, const char *before, const char *earlierOwner,
                        const char *handOverTo, const char *newOwner, const char *owner) {
        QTest::newRow(name) << QString(before) << QString(earlierOwner) << QString(handOverTo)
                            << QString(newOwner) << QString(owner);
    };
    row("first install", "nothing", "", "", "", "");
    row("first install for the installing user", "nothing", "", "", "nobody", "nobody");
    row("reinstall", "data folder", "", "", "", "");
    row("reinstall keeps the owner", "data folder", "nobody", "", "daemon", "nobody");
    row("an earlier version's database moves with its owner", "old file", "", "", "daemon", "");
    row("handed over", "data folder", "", "nobody", "", "nobody");
}

void tst_Settings::settingsArePutInPlace()
{
    QFETCH(QString, before);
    QFETCH(QString, earlierOwner);
    QFETCH(QString, handOverTo);
    QFETCH(QString, newOwner);
    QFETCH(QString, owner);
    const Account me = currentAccount();
    if (me.userId != 0 && !(earlierOwner + handOverTo + owner).isEmpty())
        QSKIP("only root gives files to other users");
    owner = owner.isEmpty() ? me.name : owner;

    QTemporaryDir top;
    const SettingsLocation place{top.path(), top.filePath("data")};
    const QString link = settingsDatabasePath(place.installFolder);
    const QString database = settingsDatabasePath(place.dataFolder);
    // A link to another file, or a second name of one, may have been put into the data folder
    // to have that file handed over too.
    const QStringList elsewhere{top.filePath("a"), top.filePath("b")};
    for (const QString &path : elsewhere)
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    if (before == "old file") {
        // An earlier version kept the settings at the fixed path; a crash left their journal.
        for (const QString &path : {link, link + "-journal"})
            QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    } else if (before == "data folder") {
        QVERIFY(QDir().mkdir(place.dataFolder));
        QVERIFY(QFile(database).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(elsewhere[0], place.dataFolder + "/link"));
        std::filesystem::create_hard_link(elsewhere[1].toStdString(),
                                          (place.dataFolder + "/name").toStdString());
        for (const QString &path : {database, place.dataFolder})
            QCOMPARE(giveTo(path, earlierOwner.isEmpty() ? me : *findAccount(earlierOwner)), "");
        // The fixed path leads elsewhere, as after the data folder was moved.
        QVERIFY(QFile::link(top.filePath("gone"), link));
    }

    QStringList done;
    const SettingsOwners owners{findAccount(handOverTo), findAccount(newOwner)};
    QCOMPARE(setUpSettings(place, owners, &done), "");

    QCOMPARE(QFileInfo(link).symLinkTarget(), database);
    QCOMPARE(done.contains("Kept the existing settings database " + database), before != "nothing");
    QCOMPARE(QFile::exists(database + "-journal"), before == "old file");
    const auto mode = [](const QString &path) {
        return int(std::filesystem::status(path.toStdString()).permissions()) & 07777;
    };
    for (const auto &[path, bits] : {std::pair(place.dataFolder, 0700), {database, 0600}}) {
        QCOMPARE(mode(path), bits);
        QCOMPARE(ownerOf(path)->name, owner);
    }
    for (const QString &path : elsewhere)
        QVERIFY(mode(path) != 0600);
    QCOMPARE(done.last(),
             QString("%1 reaches the settings, which belong to %2 alone").arg(link, owner));
}

// A data folder that is a link is not followed, and an earlier version's database beside the data
// folder's is left for the user to choose.
void tst_Settings::settingsAreNotMixedUp()
{
    QTemporaryDir top;
    const SettingsLocation place{top.path(), top.filePath("data")};
    const QString link = settingsDatabasePath(place.installFolder);
    const QString database = settingsDatabasePath(place.dataFolder);
    QStringList done;
    QVERIFY(QFile::link(top.path(), place.dataFolder));
    QCOMPARE(setUpSettings(place, {}, &done), place.dataFolder + " is not a folder");

    QVERIFY(QFile::remove(place.dataFolder));
    QVERIFY(QDir().mkdir(place.dataFolder));
    for (const QString &path : {link, database})
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    QCOMPARE(
        setUpSettings(place, {}, &done),
        QString("Both %1 and %2 hold settings; remove the one not to keep").arg(link, database));
}

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
