#include "xcopy_harness.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

// /D: a file is copied only when its destination is missing or truly older.
class XcopyNewerOnly : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> dir;
    QByteArray at(const QString &relative) const
    {
        return QFile::encodeName(dir->filePath(relative));
    }
    QString src() const { return dir->filePath("src"); }
    QString dst() const { return dir->filePath("dst"); }

  private slots:
    void init()
    {
        dir.emplace();
        QVERIFY(QDir().mkpath(src() + "/sub"));
        QVERIFY(QDir().mkpath(dst()));
    }

    void copiesWhenDestinationIsOlder_data()
    {
        QTest::addColumn<bool>("destinationExists");
        QTest::addColumn<timespec>("destinationTime");
        QTest::addColumn<bool>("copied");
        // The source was changed at 1700000001.7 s.
        QTest::newRow("missing") << false << timespec{} << true;
        QTest::newRow("older by seconds") << true << timespec{1699999991, 700000000} << true;
        QTest::newRow("older by a millisecond") << true << timespec{1700000001, 699000000} << true;
        QTest::newRow("same time") << true << timespec{1700000001, 700000000} << false;
        QTest::newRow("newer") << true << timespec{1700000011, 700000000} << false;
        QTest::newRow("cut to whole seconds") << true << timespec{1700000001, 0} << false;
        QTest::newRow("cut to even seconds") << true << timespec{1700000000, 0} << false;
        QTest::newRow("whole seconds, truly older") << true << timespec{1699999998, 0} << true;
    }

    void copiesWhenDestinationIsOlder()
    {
        QFETCH(bool, destinationExists);
        QFETCH(timespec, destinationTime);
        QFETCH(bool, copied);
        writeFile(at("src/file"), "new");
        setModified(at("src/file"), {1700000001, 700000000});
        if (destinationExists) {
            writeFile(at("dst/file"), "old");
            setModified(at("dst/file"), destinationTime);
        }
        const XcopyResult result = runXcopy({src(), dst(), "/D", "/Y"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(readFile(at("dst/file")), copied ? QByteArray("new") : QByteArray("old"));
        QVERIFY(result.out.endsWith(copied ? "1 File(s) copied\n" : "0 File(s) copied\n"));
    }

    void secondRunRewritesNothing()
    {
        const QStringList files{"one", "two", "sub/three"};
        for (const QString &file : files)
            writeFile(at("src/" + file), file.toUtf8());
        const QStringList arguments{src(), dst(), "/D", "/Y", "/S"};
        QVERIFY(runXcopy(arguments).out.endsWith("3 File(s) copied\n"));
        QList<struct stat> before;
        for (const QString &file : files)
            before << statOf(at("dst/" + file));

        const XcopyResult again = runXcopy(arguments);
        QCOMPARE(again.exitCode, 0);
        QVERIFY(again.out.endsWith("0 File(s) copied\n"));
        for (qsizetype i = 0; i < files.size(); ++i) {
            const struct stat after = statOf(at("dst/" + files[i]));
            QCOMPARE(after.st_ino, before[i].st_ino);
            QCOMPARE(after.st_ctim.tv_sec, before[i].st_ctim.tv_sec);
            QCOMPARE(after.st_ctim.tv_nsec, before[i].st_ctim.tv_nsec);
        }
        QCOMPARE(treeOf(dst()), (QStringList{"one", "sub", "sub/three", "two"}));
    }
};

QTEST_GUILESS_MAIN(XcopyNewerOnly)
#include "tst_xcopy_newer_only.moc"
