#include "fakes.h"
#include "testdatabase.h"

#include "app/startup.h"

#include <QDir>
#include <QFile>
#include <QTest>

// A settings database that cannot be used ends the program with a message, before any window.
class tst_Startup : public QObject
{
    Q_OBJECT

  private slots:
    void unusableDatabaseEndsTheProgram_data();
    void unusableDatabaseEndsTheProgram();
};

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

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
