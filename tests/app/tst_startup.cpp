#include "fakes.h"
#include "testdatabase.h"
#include "unprivileged.h"

#include "app/startup.h"
#include "store/settingsfolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <filesystem>

// A settings database that cannot be used ends the program with a message, before any window;
// one that the user may not change is said once, and the program runs without saving.
class tst_Startup : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase();
    void unusableDatabaseEndsTheProgram_data();
    void unusableDatabaseEndsTheProgram();
    void settingsThatCannotBeSavedAreSaidOnce_data();
    void settingsThatCannotBeSavedAreSaidOnce();

  private:
    QString m_whyStillRoot;
};

void tst_Startup::initTestCase()
{
    m_whyStillRoot = dropRootRights();
}

void tst_Startup::unusableDatabaseEndsTheProgram_data()
{
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing"
                             << "does not exist";
    QTest::newRow("corrupt") << "corrupt"
                             << "not a database";
    QTest::newRow("a table missing") << "DROP TABLE tblAutoSync"
                                     << "tblAutoSync";
}

void tst_Startup::unusableDatabaseEndsTheProgram()
{
    QFETCH(QString, problem);
    QFETCH(QString, reason);

    QTemporaryDir installFolder;
    const QString path = settingsDatabasePath(installFolder.path());
    if (problem == QLatin1String("corrupt")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("SQLite format 3\0 but the rest is lost", 38);
    } else if (problem != QLatin1String("missing")) {
        TestDatabase db;
        db.execute(problem);
        QVERIFY(QFile::copy(db.path(), path));
    }
    const QStringList filesBefore = QDir(installFolder.path()).entryList(QDir::Files);

    FakeMessageBoxes messages;
    QCOMPARE(runProgram(installFolder.path(), messages), 1);

    QCOMPARE(messages.shown.size(), 1);
    QVERIFY2(messages.shown[0].contains(path), qPrintable(messages.shown[0]));
    QVERIFY2(messages.shown[0].contains(reason), qPrintable(messages.shown[0]));
    QCOMPARE(QDir(installFolder.path()).entryList(QDir::Files), filesBefore);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_Startup::settingsThatCannotBeSavedAreSaidOnce_data()
{
    QTest::addColumn<QString>("lockedOut"); // what the user may not touch
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("restoredFrom");
    QTest::newRow("read-only file") << "file"
                                    << "you are not allowed to change it"
                                    << "/home/me";
    QTest::newRow("link into another user's folder") << "data folder"
                                                     << "you are not allowed to read it"
                                                     << "";
}

void tst_Startup::settingsThatCannotBeSavedAreSaidOnce()
{
    QFETCH(QString, lockedOut);
    QFETCH(QString, reason);
    QFETCH(QString, restoredFrom);
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
    const QString closed = lockedOut == QLatin1String("file") ? db.path() : db.folder();
    const auto setMode = [&](std::filesystem::perms mode) {
        std::filesystem::permissions(QFile::encodeName(closed).toStdString(), mode);
    };
    setMode(std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (lockedOut != QLatin1String("file"))
        setMode(std::filesystem::perms::none);

    QString restored;
    QTimer::singleShot(0, qApp, [&] {
        QWidget *window = nullptr;
        for (QWidget *shown : QApplication::topLevelWidgets()) {
            if (shown->objectName() == QLatin1String("frmSelect"))
                window = shown;
        }
        restored = window->findChild<QLineEdit *>(QStringLiteral("Text1"))->text();
        // Locking a pair saves it, which now goes to the private copy without a word.
        window->findChild<QLineEdit *>(QStringLiteral("Text3"))->setText(QStringLiteral("/srv"));
        window->findChild<QLineEdit *>(QStringLiteral("Text4"))->setText(QStringLiteral("/usb"));
        window->findChild<QCheckBox *>(QStringLiteral("Check2"))->click();
        window->close();
    });
    FakeMessageBoxes messages;
    const int status = runProgram(installFolder.path(), messages);
    setMode(std::filesystem::perms::owner_all);

    QCOMPARE(status, 0);
    QCOMPARE(restored, restoredFrom);
    QCOMPARE(messages.shown.size(), 1);
    const QString me = QFileInfo(installFolder.path()).owner();
    for (const QString &part :
         {link, reason,
          QStringLiteral("sudo %1/revuredaveze-initdb --owner %2").arg(installFolder.path(), me)})
        QVERIFY2(messages.shown[0].contains(part), qPrintable(messages.shown[0]));
    QCOMPARE(db.records(Table::Path3), QStringList());
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
