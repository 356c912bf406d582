#include "xcopy_harness.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>

// Nothing is damaged or left behind when a copy cannot be done or is cut short.
class XcopySafety : public QObject
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
        writeFile(at("src/sub/file"), "content");
    }

    // Lets the temporary folder be removed also outside root.
    void cleanup() { chmod(at("src/locked").constData(), 0755); }

    void refusesCyclicCopy_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::newRow("the source itself") << "src";
        QTest::newRow("the source with a dot") << "src/.";
        QTest::newRow("existing subfolder") << "src/sub";
        QTest::newRow("new subfolder") << "src/new/deeper";
        QTest::newRow("through ..") << "dst/../src/new";
        QTest::newRow("through a missing folder and ..") << "missing/../src";
        QTest::newRow("through a link") << "link/new";
    }

    void refusesCyclicCopy()
    {
        QFETCH(QString, destination);
        QVERIFY(QFile::link("src", dir->filePath("link")));
        const QStringList before = treeOf(dir->path());
        const XcopyResult result = runXcopy({"src", destination, "/E", "/Y"}, dir->path());
        QCOMPARE(result.exitCode, 4);
        QVERIFY2(result.err.contains("Cannot perform a cyclic copy"), result.err);
        QCOMPARE(treeOf(dir->path()), before);
    }

    void failedWriteKeepsOldFile()
    {
        writeFile(at("src/big"), QByteArray(1 << 20, 'x'));
        writeFile(at("dst/big"), "old content");
        const XcopyResult result = runXcopy({src(), dst(), "/S", "/Y"}, {}, [] {
            const rlimit limit{64 << 10, 64 << 10};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        QCOMPARE(result.exitCode, 5);
        QVERIFY2(result.err.contains("dst/big: File too large"), result.err);
        QCOMPARE(readFile(at("dst/big")), QByteArray("old content"));
        QCOMPARE(readFile(at("dst/sub/file")), QByteArray("content"));
        QCOMPARE(treeOf(dst()), (QStringList{"big", "sub", "sub/file"}));
    }

    void interruptKeepsOldFile()
    {
        // Sparse, so it is made at once but takes long to copy.
        QFile huge(src() + "/huge");
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(8) << 30));
        huge.close();
        writeFile(at("dst/huge"), "old content");

        QProcess process;
        process.start(XCOPY_PATH, {src(), dst(), "/Y"});
        QElapsedTimer waited;
        waited.start();
        while (treeOf(dst()).size() < 2 && waited.elapsed() < 20000)
            QThread::usleep(200);
        QCOMPARE(treeOf(dst()).size(), 2); // the old file and the one being written
        process.terminate();
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 2);
        QCOMPARE(readFile(at("dst/huge")), QByteArray("old content"));
        QCOMPARE(treeOf(dst()), QStringList{"huge"});
    }

    void unreadableEntriesAreReported()
    {
        writeFile(at("src/readable"), "readable");
        writeFile(at("src/secret"), "secret");
        QVERIFY(QDir().mkpath(src() + "/locked"));
        writeFile(at("src/locked/inner"), "inner");
        giveToNobody(dir->path());
        chmod(at("src/secret").constData(), 0);
        chmod(at("src/locked").constData(), 0);

        const XcopyResult result = runXcopy({src(), dst(), "/S"}, {}, becomeNobody);
        QCOMPARE(result.exitCode, 5);
        QVERIFY2(result.err.contains("src/secret: Permission denied"), result.err);
        QVERIFY2(result.err.contains("src/locked: Permission denied"), result.err);
        QCOMPARE(treeOf(dst()), (QStringList{"readable", "sub", "sub/file"}));
    }
};

QTEST_GUILESS_MAIN(XcopySafety)
#include "tst_xcopy_safety.moc"
