#include "testdatabase.h"

#include "store/settingsfolder.h"

#include <QDir>
#include <QTest>

#include <filesystem>
#include <future>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

class tst_Settings : public QObject
{
    Q_OBJECT

  private slots:
    // Reads give the oldest record and the newest; keeping the newest, replacing and seeding leave
    // what was asked. Quotes, shell characters and a letter beyond ASCII are saved as they are.
    void recordsChangeAsAsked()
    {
        TestDatabase db;
        SettingsStore &store = db.store();
        const QString odd = "\"new\" it's/$(date);ü";
        QVERIFY(store.SeedIfEmpty(Table::Days, odd).ok());
        db.add(Table::Days, {"7", "14"});
        // A seed goes into an empty table only.
        QVERIFY(store.SeedIfEmpty(Table::Days, "3").ok());
        QCOMPARE(store.ReadField(Table::Days).value().value_or("none"), odd);
        QCOMPARE(store.ReadNewestField(Table::Days).value().value_or("none"), "14");
        QCOMPARE(store.ReadField(Table::Time).value().value_or("none"), "none");
        QVERIFY(store.KeepNewestRecord(Table::Days).ok());
        QCOMPARE(db.records(Table::Days), QStringList{"14"});
        QVERIFY(store.ReplaceRecord(Table::Days, odd).ok());
        QCOMPARE(db.records(Table::Days), QStringList{odd});
        // The value among others: they go.
        db.add(Table::Days, {"7"});
        QVERIFY(store.ReplaceRecord(Table::Days, odd).ok());
        QCOMPARE(db.records(Table::Days), QStringList{odd});
    }

    // On a full disk a replacement, the stop and steps taken together change nothing, and each says
    // why, naming the setting, the file and the reason. So does a read of a table that is gone.
    void aFullDiskChangesNothing()
    {
        TestDatabase db;
        SettingsStore &store = db.store();
        db.add(Table::Days, {"3", "7", "14"});
        db.add(Table::Date, {"1"});
        for (Table table : {Table::Days, Table::Date, Table::AutoSync})
            db.failEvery("INSERT", table, "database or disk is full");

        QStringList reports;
        for (const Outcome &outcome :
             {store.ReplaceRecord(Table::Days, "5"), store.DBDelete(),
              // The replacement's own transaction sits inside the outer one.
              store.together([&] {
                  return store.ClearTable(Table::Days).andThen([&] {
                      return store.ReplaceRecord(Table::Date, "2");
                  });
              }),
              // The table holds just this value already: nothing is written, so nothing can fail.
              store.ReplaceRecord(Table::Date, "1")})
            reports.append(outcome.why());
        QCOMPARE(db.records(Table::Days), QStringList({"3", "7", "14"}));
        QCOMPARE(db.records(Table::Date), QStringList{"1"});
        const QString where =
            " in the settings database " + db.path() + ": database or disk is full";
        QCOMPARE(reports, QStringList({"Could not save the interval in days" + where,
                                       "Could not save the automatic copy setting" + where,
                                       "Could not save the next copy date" + where, ""}));

        db.execute("DROP TABLE tblTime");
        const SettingsStore::Read read = store.ReadField(Table::Time);
        QCOMPARE(read.outcome().why(),
                 "Could not read the time of day of the automatic copy in the settings database " +
                     db.path() + ": no such table: tblTime");
    }

    // A commit that fails, here because another program reads the settings all along, is undone and
    // said, also when every step before it went well; the settings stay as they were.
    void aFailedCommitIsUndoneAndSaid()
    {
        TestDatabase db;
        SettingsStore &store = db.store();
        db.add(Table::Days, {"7"});
        db.execute("BEGIN");
        db.execute("SELECT COUNT(*) FROM tblDays");

        const Outcome saved = store.together([&] {
            return store.AppendRecord(Table::Days, "14").andThen([&] {
                return store.ReplaceRecord(Table::Time, "1:00:00 AM");
            });
        });
        db.execute("COMMIT");

        QCOMPARE(saved.why(), "Could not save your settings in the settings database " + db.path() +
                                  ": database is locked");
        QCOMPARE(db.records(Table::Days), QStringList{"7"});
        QCOMPARE(db.records(Table::Time), QStringList());
        QVERIFY(store.AppendRecord(Table::Days, "30").ok()); // nothing left open
        QCOMPARE(db.records(Table::Days), QStringList({"7", "30"}));
    }

    // The stop waits for another program's save instead of failing, then empties every setting and
    // leaves the automatic copy off.
    void stopWaitsForAnotherProgramAndLeavesOnlyTheFlagOff()
    {
        TestDatabase db;
        for (const TableDefinition &def : kTables)
            db.add(def.table, {"a", "b"});
        db.execute("BEGIN IMMEDIATE");
        std::future<bool> stopped = std::async(std::launch::async, [&] {
            QString error;
            return SettingsStore::open(db.path(), &error)->DBDelete().ok();
        });
        QCOMPARE(stopped.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
        db.execute("COMMIT");
        QVERIFY(stopped.get());
        for (const TableDefinition &def : kTables)
            QCOMPARE(db.records(def.table),
                     def.table == Table::AutoSync ? QStringList{"0"} : QStringList());
    }

    // The install's step that puts the settings in place: a data folder of the owner's alone,
    // linked from the installation folder, and never a lost setting or another file taken from its
    // owner; where settings could be mixed up, it stops instead.
    void settingsArePutInPlace()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows keeps the settings in the installation folder: see tst_windowssettings");
#endif
        // What there was, whom the settings are handed over to, and their owner afterwards ("" for
        // the tester): a first install for the installing user, a reinstall keeping the owner, an
        // earlier version's database moving with its owner, and a hand-over.
        for (auto [before, handOverTo, owner] :
             {std::tuple<QString, QString, QString>("nothing", "", "daemon"),
              {"data folder", "", "nobody"},
              {"old file", "", ""},
              {"data folder", "daemon", "daemon"}}) {
            // A data folder there was belongs to nobody, and a new one goes to daemon, the
            // installing user. Only root gives files away: for anyone else, every file stays
            // theirs.
            const Account me = currentAccount();
            const bool root = me.userId == 0;
            const Account earlier = root ? *findAccount("nobody") : me;
            const SettingsOwners owners{findAccount(root ? handOverTo : ""),
                                        findAccount(root ? "daemon" : "")};
            owner = owner.isEmpty() || !root ? me.name : owner;

            QTemporaryDir top;
            const SettingsLocation place{top.path(), top.filePath("data")};
            const QString link = settingsDatabasePath(place.installFolder);
            const QString database = settingsDatabasePath(place.dataFolder);
            // A link to another file, or a second name of one, may have been put into the data
            // folder to have that file handed over too; such files never become private.
            const QStringList elsewhere{top.filePath("a"), top.filePath("b")};
            if (before == "old file") {
                // An earlier version kept the settings at the fixed path; a crash left their
                // journal.
                for (const QString &path : {link, link + "-journal"})
                    QVERIFY(QFile(path).open(QIODevice::WriteOnly));
            } else if (before == "data folder") {
                QVERIFY(QDir().mkdir(place.dataFolder));
                for (const QString &path : elsewhere + QStringList{database})
                    QVERIFY(QFile(path).open(QIODevice::WriteOnly));
                QVERIFY(QFile::link(elsewhere[0], place.dataFolder + "/link"));
                std::filesystem::create_hard_link(elsewhere[1].toStdString(),
                                                  (place.dataFolder + "/name").toStdString());
                for (const QString &path : {database, place.dataFolder})
                    QCOMPARE(giveTo(path, earlier), "");
                // The fixed path leads elsewhere, as after the data folder was moved.
                QVERIFY(QFile::link(top.filePath("gone"), link));
            }

            QStringList done;
            QCOMPARE(setUpSettings(place, owners, &done), "");

            QCOMPARE(QFileInfo(link).symLinkTarget(), database);
            QCOMPARE(done.contains("Kept the existing settings database " + database),
                     before != "nothing");
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

            // Set up again, it leaves an earlier version's database beside the data folder's for
            // the user to choose, and it does not follow a data folder that is a link.
            QVERIFY(QFile::remove(link));
            QVERIFY(QFile(link).open(QIODevice::WriteOnly));
            QCOMPARE(setUpSettings(place, owners, &done),
                     QString("Both %1 and %2 hold settings; remove the one not to keep")
                         .arg(link, database));
            QVERIFY(QDir(place.dataFolder).removeRecursively());
            QVERIFY(QFile::link(top.path(), place.dataFolder));
            QCOMPARE(setUpSettings(place, owners, &done),
                     place.dataFolder +
                         " is a link, which the set-up does not follow: remove it, then "
                         "set up the settings again");
        }
    }

    // The data folder is the user's, who may plant a link, or anything else that is not a file,
    // where the install writes. Where the settings go, it is refused and named; under the names the
    // install builds with, it is removed. Either way nothing outside the folder is made or changed.
    void plantedEntriesAreNeverFollowed()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows keeps the settings in the installation folder, the administrators'");
#else
        const QString refusal = "%1 %2: remove it, then set up the settings again";
        const char *link = "is a link, which the set-up does not follow";
        // The name in the data folder; what is planted there ("link", "link to a file", "fifo";
        // "old" adds an earlier version's database at the fixed path); how it is refused, or ""
        // when the settings are made all the same.
        for (const auto &[name, plant, refused] :
             {std::tuple<QString, QString, QString>("xcopy.mdb", "link", link),
              {"xcopy.mdb", "link to a file", link},
              {"xcopy.mdb", "fifo", "is not a file"},
              {"xcopy.mdb-journal", "link", link},
              {"xcopy.mdb-journal", "link old", link},
              {"xcopy.mdb", "link old", link},
              {"xcopy.mdb.new", "link", ""},
              {"xcopy.mdb.new-journal", "link", ""}}) {
            QTemporaryDir top;
            const SettingsLocation place{top.filePath("install"), top.filePath("data")};
            const QString planted = place.dataFolder + '/' + name;
            const QString absent = top.filePath("absent"), existing = top.filePath("existing");
            QVERIFY(QDir().mkpath(place.installFolder) && QDir().mkpath(place.dataFolder));
            QFile file(existing);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("mine") == 4);
            file.close();
            if (plant.startsWith("fifo"))
                QVERIFY(mkfifo(QFile::encodeName(planted).constData(), 0644) == 0);
            else
                QVERIFY(QFile::link(plant.startsWith("link to") ? existing : absent, planted));
            if (plant.endsWith("old"))
                QVERIFY(
                    QFile(settingsDatabasePath(place.installFolder)).open(QIODevice::WriteOnly));
            const bool plantedLink = QFileInfo(planted).isSymLink();

            QStringList done;
            const QString problem = setUpSettings(place, {}, &done);

            QVERIFY2(!QFileInfo::exists(absent), qPrintable(name));
            QCOMPARE(std::filesystem::file_size(existing.toStdString()), 4u);
            QCOMPARE(QFileInfo(existing).permissions(), file.permissions());
            if (!refused.isEmpty()) {
                QCOMPARE(problem, refusal.arg(QDir::toNativeSeparators(planted), refused));
                QCOMPARE(QFileInfo(planted).isSymLink(), plantedLink);
            } else {
                QCOMPARE(problem, QString());
                QVERIFY(!QFileInfo(planted).isSymLink() && !QFileInfo::exists(planted));
                QVERIFY(QFileInfo(place.dataFolder + "/xcopy.mdb").isFile());
            }
        }
#endif
    }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
