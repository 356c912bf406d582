#include "fakes.h"
#include "testdatabase.h"
#include "unprivileged.h"

#include "app/startup.h"
#include "store/settingsfolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <filesystem>

// Settings that cannot be used end the program with a message, before any window; settings that
// the user may not change are said once, and the program runs on a private copy of them.
class tst_Startup : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase() { m_whyStillRoot = dropRootRights(); }
    void unusableSettingsEndTheProgram_data();
    void unusableSettingsEndTheProgram();
    void settingsThatCannotBeSavedAreSaidOnce_data();
    void settingsThatCannotBeSavedAreSaidOnce();

  private:
    QString m_whyStillRoot;
};

void tst_Startup::unusableSettingsEndTheProgram_data()
{
    QTest::addColumn<QString>("setup"); // a statement run on new settings, or what the file is
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing"
                             << "the file does not exist";
    QTest::newRow("not a database") << "garbage"
                                    << "file is not a database";
    QTest::newRow("a table missing") << "DROP TABLE tblTime"
                                     << "no such table: tblTime";
    QTest::newRow("a field missing") << "ALTER TABLE tblPath9 RENAME COLUMN Path9 TO Other"
                                     << "no such column: Path9";
}

void tst_Startup::unusableSettingsEndTheProgram()
{
    QFETCH(QString, setup);
    QFETCH(QString, reason);

    QTemporaryDir installFolder;
    const QString path = settingsDatabasePath(installFolder.path());
    if (setup == "garbage") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("SQLite format 3\0 but the rest is lost", 38);
    } else if (setup != "missing") {
        TestDatabase db;
        db.execute(setup);
        QVERIFY(QFile::copy(db.path(), path));
    }
    const QStringList filesBefore = QDir(installFolder.path()).entryList(QDir::Files);

    FakeMessageBoxes messages;
    QCOMPARE(runProgram(installFolder.path(), messages), 1);
    QCOMPARE(
        messages.shown,
        QStringList{QString("The settings database %1 cannot be used: %2.").arg(path, reason)});
    QCOMPARE(QDir(installFolder.path()).entryList(QDir::Files), filesBefore);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_Startup::settingsThatCannotBeSavedAreSaidOnce_data()
{
    QTest::addColumn<int>("folderMode"); // of the data folder the fixed path leads into
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<QString>("reason"); // empty: changes are saved; {data} is the data folder
    QTest::addColumn<QString>("restored");
    const auto row = [](const char *name, int folderMode, int fileMode, const char *reason,
                        const char *restored) {
        QTest::newRow(name) << folderMode << fileMode << QString(reason) << QString(restored);
    };
    const char *unreadable = "you are not allowed to read it";
    row("own settings", 0755, 0644, "", "/home/me");
    row("read-only file", 0755, 0444, "you are not allowed to change it", "/home/me");
    row("data folder closed for writing", 0555, 0644,
        "you are not allowed to write in its folder {data}, where SQLite keeps its journal",
        "/home/me");
    row("unreadable file", 0755, 0000, unreadable, "");
    row("another user's data folder", 0000, 0644, unreadable, "");
}

void tst_Startup::settingsThatCannotBeSavedAreSaidOnce()
{
    QFETCH(int, folderMode);
    QFETCH(int, fileMode);
    QFETCH(QString, reason);
    QFETCH(QString, restored);
    if (!m_whyStillRoot.isEmpty())
        QSKIP(qPrintable(m_whyStillRoot));

    QTemporaryDir installFolder;
    TestDatabase db;
    db.add(Table::AutoSync, {"1"});
    db.add(Table::Days, {"7"});
    db.add(Table::Time, {"10:00:00 PM"});
    db.add(Table::Path1, {"/home/me"});
    db.add(Table::Path2, {"/backup"});
    const QString link = settingsDatabasePath(installFolder.path());
    QVERIFY(QFile::link(db.path(), link));
    const auto setModes = [](const QList<std::pair<QString, int>> &modes) {
        for (const auto &[path, mode] : modes)
            std::filesystem::permissions(path.toStdString(), std::filesystem::perms(mode));
    };
    // SQLite must follow the link and write its journal beside the real file.
    setModes({{db.path(), fileMode}, {db.folder(), folderMode}, {installFolder.path(), 0555}});

    // Quotes, shell characters and a letter beyond ASCII are saved as they are.
    const QString from = "/media/usb/Back up \"new\"/$(date);ü";
    QString shownFrom;
    QTimer::singleShot(0, qApp, [&] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() != "frmSelect")
                continue;
            shownFrom = window->findChild<QLineEdit *>("Text1")->text();
            // Locking a pair saves it, to the private copy without a word.
            window->findChild<QLineEdit *>("Text3")->setText(from);
            window->findChild<QLineEdit *>("Text4")->setText("/b");
            window->findChild<QCheckBox *>("Check2")->click();
            window->close();
        }
    });
    FakeMessageBoxes messages;
    const int status = runProgram(installFolder.path(), messages);
    setModes({{installFolder.path(), 0755}, {db.folder(), 0755}, {db.path(), 0644}});

    QCOMPARE(status, 0);
    QCOMPARE(shownFrom, restored);
    const QString unsaved =
        QString("Your changes cannot be saved in the settings database %1: %2.\n\n"
                "The program works as usual, but what you change is lost when it ends. To make "
                "these settings yours, have an administrator run:\n\n"
                "sudo %3/revuredaveze-initdb --owner %4")
            .arg(link, reason.replace("{data}", db.folder()), installFolder.path(),
                 QFileInfo(installFolder.path()).owner());
    QCOMPARE(messages.shown, reason.isEmpty() ? QStringList() : QStringList{unsaved});
    QCOMPARE(db.records(Table::Path3), reason.isEmpty() ? QStringList{from} : QStringList());
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
