#include "testdatabase.h"
#include "unprivileged.h"

#include "store/settingsschema.h"

#include <QFile>
#include <QScopeGuard>
#include <QTest>

#include <filesystem>

class tst_SettingsStore : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase();
    void recordOperations_data();
    void recordOperations();
    void readFieldGivesTheOldestRecord();
    void dbDeleteEmptiesEverythingButTheFlag();
    void valuesSurviveReopening();
    void failedOperationsAreReportedAndChangeNothing();
    void openRefusesUnusableFiles_data();
    void openRefusesUnusableFiles();
    void creationNeverOverwrites();
    void settingsThatCannotBeSavedAreAPrivateCopy_data();
    void settingsThatCannotBeSavedAreAPrivateCopy();

  private:
    QString m_whyStillRoot;
};

void tst_SettingsStore::initTestCase()
{
    m_whyStillRoot = dropRootRights();
}

using Operation = std::function<bool(SettingsStore &)>;
Q_DECLARE_METATYPE(Operation)

void tst_SettingsStore::recordOperations_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QStringList>("after");

    const QStringList none;
    const QStringList one{QStringLiteral("7")};
    const QStringList three{QStringLiteral("3"), QStringLiteral("7"), QStringLiteral("14")};
    const auto clear = [](SettingsStore &s) { return s.ClearTable(Table::Days); };
    const auto keepNewest = [](SettingsStore &s) { return s.KeepNewestRecord(Table::Days); };
    const auto replace = [](SettingsStore &s) {
        return s.ReplaceRecord(Table::Days, QStringLiteral("30"));
    };
    const auto seed = [](SettingsStore &s) {
        return s.SeedIfEmpty(Table::Days, QStringLiteral("1"));
    };
    const auto append = [](SettingsStore &s) {
        return s.AppendRecord(Table::Days, QStringLiteral("30"));
    };

    QTest::newRow("clear empty") << none << Operation(clear) << none;
    QTest::newRow("clear one") << one << Operation(clear) << none;
    QTest::newRow("clear three") << three << Operation(clear) << none;
    QTest::newRow("keep newest of none") << none << Operation(keepNewest) << none;
    QTest::newRow("keep newest of one") << one << Operation(keepNewest) << one;
    QTest::newRow("keep newest of three") << three << Operation(keepNewest) << QStringList{"14"};
    QTest::newRow("replace empty") << none << Operation(replace) << QStringList{"30"};
    QTest::newRow("replace one") << one << Operation(replace) << QStringList{"30"};
    QTest::newRow("replace three") << three << Operation(replace) << QStringList{"30"};
    QTest::newRow("replace, the value among others")
        << QStringList{"7", "30"} << Operation(replace) << QStringList{"30"};
    QTest::newRow("seed empty") << none << Operation(seed) << QStringList{"1"};
    QTest::newRow("seed one") << one << Operation(seed) << one;
    QTest::newRow("seed three") << three << Operation(seed) << three;
    QTest::newRow("append to empty") << none << Operation(append) << QStringList{"30"};
    QTest::newRow("append to three")
        << three << Operation(append) << QStringList{"3", "7", "14", "30"};
}

void tst_SettingsStore::recordOperations()
{
    QFETCH(QStringList, before);
    QFETCH(Operation, operation);
    QFETCH(QStringList, after);

    TestDatabase db;
    db.add(Table::Days, before);
    QVERIFY(operation(db.store()));
    QCOMPARE(db.records(Table::Days), after);
    QCOMPARE(db.records(Table::Time), QStringList()); // no other table is touched
}

void tst_SettingsStore::readFieldGivesTheOldestRecord()
{
    TestDatabase db;
    QCOMPARE(db.store().ReadField(Table::Date), std::nullopt);

    db.store().AppendRecord(Table::Date, QStringLiteral("2026-03-05"));
    db.store().AppendRecord(Table::Date, QStringLiteral("2026-03-12"));
    QCOMPARE(db.store().ReadField(Table::Date), QStringLiteral("2026-03-05"));

    db.store().KeepNewestRecord(Table::Date);
    QCOMPARE(db.store().ReadField(Table::Date), QStringLiteral("2026-03-12"));
}

void tst_SettingsStore::dbDeleteEmptiesEverythingButTheFlag()
{
    TestDatabase db;
    for (const TableDefinition &def : kTables)
        db.add(def.table, {QStringLiteral("a"), QStringLiteral("b")});
    db.add(Table::AutoSync, {QStringLiteral("1")});

    QVERIFY(db.store().DBDelete());

    for (const TableDefinition &def : kTables) {
        const QStringList expected =
            def.table == Table::AutoSync ? QStringList{"0"} : QStringList{};
        QCOMPARE(db.records(def.table), expected);
    }
}

void tst_SettingsStore::valuesSurviveReopening()
{
    const QString path = QStringLiteral("/media/usb/Back up \"new\"/$(date);ü");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("xcopy.mdb"));
    QString error;
    QCOMPARE(createSettingsDatabase(file, &error), CreateResult::Created);
    {
        auto store = SettingsStore::open(file, &error);
        QVERIFY2(store, qPrintable(error));
        QVERIFY(store->AppendRecord(Table::Path4, path));
        QVERIFY(store->ReplaceRecord(Table::AutoSync, QStringLiteral("1")));
    }
    auto reopened = SettingsStore::open(file, &error);
    QVERIFY2(reopened, qPrintable(error));
    QCOMPARE(reopened->ReadField(Table::Path4), path);
    QCOMPARE(reopened->ReadField(Table::AutoSync), QStringLiteral("1"));
}

void tst_SettingsStore::failedOperationsAreReportedAndChangeNothing()
{
    TestDatabase db;
    QStringList reports;
    db.store().setFailureReport([&](const QString &message) { reports.append(message); });
    db.add(Table::Date, {QStringLiteral("2026-03-05")});
    db.add(Table::Path3, {QStringLiteral("/home/me")});
    // Every insert into these tables fails, as on a full disk.
    for (const char *table : {"tblDate", "tblAutoSync"}) {
        db.execute(QStringLiteral("CREATE TRIGGER full_%1 BEFORE INSERT ON %1 "
                                  "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END")
                       .arg(QLatin1String(table)));
    }

    QVERIFY(!db.store().ReplaceRecord(Table::Date, QStringLiteral("2026-03-12")));
    QCOMPARE(db.records(Table::Date), QStringList{"2026-03-05"});
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports[0].contains(QLatin1String("the next copy date")), qPrintable(reports[0]));
    QVERIFY2(reports[0].contains(QLatin1String("disk is full")), qPrintable(reports[0]));
    QVERIFY2(reports[0].contains(db.path()), qPrintable(reports[0]));

    QVERIFY(!db.store().DBDelete());
    QCOMPARE(db.records(Table::Path3), QStringList{"/home/me"});
    QCOMPARE(db.records(Table::Date), QStringList{"2026-03-05"});

    db.execute(QStringLiteral("DROP TABLE tblDays"));
    QCOMPARE(db.store().ReadField(Table::Days), std::nullopt);
    QVERIFY(!db.store().AppendRecord(Table::Days, QStringLiteral("7")));
    QVERIFY2(reports.last().contains(QLatin1String("tblDays")), qPrintable(reports.last()));
}

void tst_SettingsStore::openRefusesUnusableFiles_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing file") << "missing"
                                  << "does not exist";
    QTest::newRow("not a database") << "garbage"
                                    << "not a database";
    QTest::newRow("a table missing") << "DROP TABLE tblTime"
                                     << "tblTime";
    QTest::newRow("a field missing") << "ALTER TABLE tblPath9 RENAME COLUMN Path9 TO Other"
                                     << "Path9";
}

void tst_SettingsStore::openRefusesUnusableFiles()
{
    QFETCH(QString, setup);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("xcopy.mdb"));
    if (setup == QLatin1String("garbage")) {
        QFile garbage(file);
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(4096, 'x'));
    } else if (setup != QLatin1String("missing")) {
        TestDatabase db;
        db.execute(setup);
        QVERIFY(QFile::copy(db.path(), file));
    }

    QString error;
    QVERIFY(!SettingsStore::open(file, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    if (setup == QLatin1String("missing"))
        QVERIFY(!QFile::exists(file));
}

void tst_SettingsStore::creationNeverOverwrites()
{
    TestDatabase db;
    db.add(Table::Path1, {QStringLiteral("/home/me")});
    QFile file(db.path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    QString error;
    QCOMPARE(createSettingsDatabase(db.path(), &error), CreateResult::AlreadyPresent);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QCOMPARE(db.records(Table::Path1), QStringList{"/home/me"});
}

void tst_SettingsStore::settingsThatCannotBeSavedAreAPrivateCopy_data()
{
    QTest::addColumn<bool>("throughLink");
    QTest::addColumn<int>("linkFolderMode");
    QTest::addColumn<int>("dataFolderMode");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<QString>("reason"); // empty: changes are saved; {data} is the data folder
    QTest::addColumn<bool>("readable");

    QTest::newRow("own file") << false << 0755 << 0755 << 0644 << "" << true;
    // SQLite must follow the link and write its journal beside the real file.
    QTest::newRow("through a link from a folder the user may not write")
        << true << 0555 << 0755 << 0644 << "" << true;
    QTest::newRow("read-only file")
        << false << 0755 << 0755 << 0444 << "you are not allowed to change it" << true;
    QTest::newRow("folder closed for writing")
        << false << 0755 << 0555 << 0644
        << "you are not allowed to write in its folder {data}, where SQLite keeps its journal"
        << true;
    QTest::newRow("unreadable file")
        << false << 0755 << 0755 << 0000 << "you are not allowed to read it" << false;
    QTest::newRow("link into another user's folder")
        << true << 0755 << 0000 << 0644 << "you are not allowed to read it" << false;
}

void tst_SettingsStore::settingsThatCannotBeSavedAreAPrivateCopy()
{
    QFETCH(bool, throughLink);
    QFETCH(int, linkFolderMode);
    QFETCH(int, dataFolderMode);
    QFETCH(int, fileMode);
    QFETCH(QString, reason);
    QFETCH(bool, readable);
    if (!m_whyStillRoot.isEmpty())
        QSKIP(qPrintable(m_whyStillRoot));

    TestDatabase db;
    db.add(Table::Path1, {QStringLiteral("/home/me")});
    QTemporaryDir linkFolder;
    const QString path = throughLink ? linkFolder.filePath(QStringLiteral("xcopy.mdb")) : db.path();
    QVERIFY(!throughLink || QFile::link(db.path(), path));
    const auto chmod = [](const QString &target, int bits) {
        std::filesystem::permissions(QFile::encodeName(target).toStdString(),
                                     static_cast<std::filesystem::perms>(bits));
    };
    {
        chmod(db.path(), fileMode);
        chmod(db.folder(), dataFolderMode);
        chmod(linkFolder.path(), linkFolderMode);
        const auto restoreModes = qScopeGuard([&] {
            chmod(linkFolder.path(), 0755);
            chmod(db.folder(), 0755);
            chmod(db.path(), 0644);
        });
        QString error;
        const std::unique_ptr<SettingsStore> store = SettingsStore::open(path, &error);
        QVERIFY2(store, qPrintable(error));
        QStringList reports;
        store->setFailureReport([&](const QString &message) { reports.append(message); });
        QCOMPARE(store->unsavedReason(), reason.replace(QLatin1String("{data}"), db.folder()));
        QCOMPARE(store->ReadField(Table::Path1).has_value(), readable);
        QVERIFY(store->AppendRecord(Table::Path2, QStringLiteral("/backup")));
        QVERIFY(store->ReplaceRecord(Table::AutoSync, QStringLiteral("1")));
        QCOMPARE(store->ReadField(Table::Path2), QStringLiteral("/backup"));
        QCOMPARE(reports, QStringList());
    }
    QCOMPARE(db.records(Table::Path2), reason.isEmpty() ? QStringList{"/backup"} : QStringList());
    QCOMPARE(db.records(Table::Path1), QStringList{"/home/me"});
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
