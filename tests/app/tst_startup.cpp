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
    QTest::addColumn<bool>("folderClosed"); // otherwise the file is read-only
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("restored");
    QTest::newRow("read-only file") << false << "you are not allowed to change it"
                                    << "/home/me";
    QTest::newRow("link into another user's folder") << true << "you are not allowed to read it"
                                                     << "";
}

void tst_Startup::settingsThatCannotBeSavedAreSaidOnce()
{
    QFETCH(bool, folderClosed);
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
    const auto setMode = [&](int bits) {
        std::filesystem::permissions(
            QFile::encodeName(folderClosed ? db.folder() : db.path()).toStdString(),
            static_cast<std::filesystem::perms>(bits));
    };
    setMode(folderClosed ? 0 : 0444);

    QString shownFrom;
    QTimer::singleShot(0, qApp, [&] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() != QLatin1String("frmSelect"))
                continue;
            shownFrom = window->findChild<QLineEdit *>(QStringLiteral("Text1"))->text();
            // Locking a pair saves it, now to the private copy without a word.
            window->findChild<QLineEdit *>(QStringLiteral("Text3"))->setText(QStringLiteral("/a"));
            window->findChild<QLineEdit *>(QStringLiteral("Text4"))->setText(QStringLiteral("/b"));
            window->findChild<QCheckBox *>(QStringLiteral("Check2"))->click();
            window->close();
        }
    });
    FakeMessageBoxes messages;
    const int status = runProgram(installFolder.path(), messages);
    setMode(folderClosed ? 0755 : 0644);

    QCOMPARE(status, 0);
    QCOMPARE(shownFrom, restored);
    QCOMPARE(messages.shown.size(), 1);
    const QString handOver =
        QStringLiteral("sudo %1/revuredaveze-initdb --owner %2")
            .arg(installFolder.path(), QFileInfo(installFolder.path()).owner());
    for (const QString &part : {link, reason, handOver})
        QVERIFY2(messages.shown[0].contains(part), qPrintable(messages.shown[0]));
    QCOMPARE(db.records(Table::Path3), QStringList());
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
