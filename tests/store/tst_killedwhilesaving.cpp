#include "store/settingsschema.h"
#include "store/settingsstore.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUuid>

// A program killed in the middle of saving leaves settings that open, with every save that had
// returned and no half of one.
class tst_KilledWhileSaving : public QObject
{
    Q_OBJECT

  private slots:
    void settingsSurvive();
};

namespace {

QString integrityCheck(const QString &path)
{
    const QString name = QUuid::createUuid().toString();
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (db.open() && query.exec(QStringLiteral("PRAGMA integrity_check")) && query.next())
            result = query.value(0).toString();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

} // namespace

void tst_KilledWhileSaving::settingsSurvive()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("xcopy.mdb"));
    QString error;
    QCOMPARE(createSettingsDatabase(path, &error), CreateResult::Created);

    // Each kill falls at a chance point of a round, so that some fall inside a save.
    for (int kill = 1; kill <= 20; ++kill) {
        QProcess saver;
        QElapsedTimer clock;
        clock.start();
        saver.start(QStringLiteral(SAVE_LOOP), {path});
        int rounds = 0;
        int lastSaved = 0;
        while (rounds < 10) {
            QVERIFY2(saver.canReadLine() || saver.waitForReadyRead(10000),
                     qPrintable(saver.readAllStandardError()));
            for (; saver.canReadLine(); ++rounds)
                lastSaved = saver.readLine().trimmed().toInt();
        }
        const qint64 microsecondsPerRound = clock.nsecsElapsed() / 1000 / rounds;
        QThread::usleep(QRandomGenerator::global()->bounded(microsecondsPerRound + 1));
        saver.kill();
        QVERIFY(saver.waitForFinished(10000));
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);
        while (saver.canReadLine())
            lastSaved = saver.readLine().trimmed().toInt();

        QCOMPARE(integrityCheck(path), QStringLiteral("ok"));
        const std::unique_ptr<SettingsStore> store = SettingsStore::open(path, &error);
        QVERIFY2(store, qPrintable(error));
        const int appended = store->ReadNewestField(Table::Path1).value_or(QString()).toInt();
        QVERIFY2(appended >= lastSaved,
                 qPrintable(QStringLiteral("%1 < %2").arg(appended).arg(lastSaved)));
        QCOMPARE(store->ReadField(Table::Path1), QStringLiteral("1"));
        // A round replaces the date, then appends its number: the kill may fall between the two,
        // but never inside the replacement.
        const std::optional<QString> date = store->ReadField(Table::Date);
        QCOMPARE(store->ReadNewestField(Table::Date), date);
        QVERIFY2(date && (date->toInt() == appended || date->toInt() == appended + 1),
                 qPrintable(date.value_or(QStringLiteral("no date"))));
    }
}

QTEST_GUILESS_MAIN(tst_KilledWhileSaving)
#include "tst_killedwhilesaving.moc"
