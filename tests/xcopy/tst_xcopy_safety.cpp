#include "xcopy_harness.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>

// Nothing is damaged or left behind when a copy cannot be done or is cut short.
class XcopySafety : public QObject
{
    Q_OBJECT

    std::optional<Scratch> tmp;

  private slots:
    void init()
    {
        tmp.emplace();
        QVERIFY(QDir().mkpath(tmp->src() + "/sub"));
        QVERIFY(QDir().mkpath(tmp->dst()));
        writeFile(tmp->at("src/sub/file"), "content");
    }

    // Lets the temporary folder be removed also outside root.
    void cleanup() { chmod(tmp->at("src/locked").constData(), 0755); }

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
        QVERIFY(QFile::link("src", tmp->path("link")));
        const QStringList before = treeOf(tmp->dir.path());
        const XcopyResult result = runXcopy({"src", destination, "/E", "/Y"}, tmp->dir.path());
        QCOMPARE(result.exitCode, 4);
        QVERIFY2(result.err.contains("Cannot perform a cyclic copy"), result.err);
        QCOMPARE(treeOf(tmp->dir.path()), before);
    }

    void failedWriteKeepsOldFile()
    {
        writeFile(tmp->at("src/big"), QByteArray(1 << 20, 'x'));
        writeFile(tmp->at("dst/big"), "old content");
        const XcopyResult result = runXcopy({tmp->src(), tmp->dst(), "/S", "/Y"}, {}, [] {
            const rlimit limit{64 << 10, 64 << 10};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        QCOMPARE(result.exitCode, 5);
        QVERIFY2(result.err.contains("dst/big: File too large"), result.err);
        QCOMPARE(readFile(tmp->at("dst/big")), QByteArray("old content"));
        QCOMPARE(readFile(tmp->at("dst/sub/file")), QByteArray("content"));
        QCOMPARE(treeOf(tmp->dst()), (QStringList{"big", "sub", "sub/file"}));
    }

    void interruptKeepsOldFile()
    {
        // Sparse, so it is made at once but takes long to copy.
        QFile huge(tmp->src() + "/huge");
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(8) << 30));
        huge.close();
        writeFile(tmp->at("dst/huge"), "old content");

        QProcess process;
        process.start(XCOPY_PATH, {tmp->src(), tmp->dst(), "/Y"});
        QElapsedTimer waited;
        waited.start();
        while (treeOf(tmp->dst()).size() < 2 && waited.elapsed() < 20000)
            QThread::usleep(200);
        QCOMPARE(treeOf(tmp->dst()).size(), 2); // the old file and the one being written
        process.terminate();
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 2);
        QCOMPARE(readFile(tmp->at("dst/huge")), QByteArray("old content"));
        QCOMPARE(treeOf(tmp->dst()), QStringList{"huge"});
    }

    void listingReaderLeavingDoesNotStopCopy()
    {
        const int count = 4000; // enough names to fill the pipe after the reader is gone
        for (int i = 0; i < count; ++i)
            writeFile(tmp->at("src/file" + QString::number(i)), "x");
        QProcess xcopy;
        QProcess firstLineOnly;
        xcopy.setStandardOutputProcess(&firstLineOnly);
        firstLineOnly.start("head", {"-n", "1"});
        xcopy.start(XCOPY_PATH, {tmp->src(), tmp->dst()});
        QVERIFY(xcopy.waitForFinished(60000) && firstLineOnly.waitForFinished(60000));
        QCOMPARE(xcopy.exitStatus(), QProcess::NormalExit);
        QCOMPARE(xcopy.exitCode(), 0);
        QCOMPARE(QDir(tmp->dst()).entryList(QDir::Files).size(), count);
    }

    void unreadableEntriesAreReported()
    {
        writeFile(tmp->at("src/readable"), "readable");
        writeFile(tmp->at("src/secret"), "secret");
        QVERIFY(QDir().mkpath(tmp->src() + "/locked"));
        writeFile(tmp->at("src/locked/inner"), "inner");
        giveToNobody(tmp->dir.path());
        chmod(tmp->at("src/secret").constData(), 0);
        chmod(tmp->at("src/locked").constData(), 0);

        const XcopyResult result = runXcopy({tmp->src(), tmp->dst(), "/S"}, {}, becomeNobody);
        QCOMPARE(result.exitCode, 5);
        QVERIFY2(result.err.contains("src/secret: Permission denied"), result.err);
        QVERIFY2(result.err.contains("src/locked: Permission denied"), result.err);
        QCOMPARE(treeOf(tmp->dst()), (QStringList{"readable", "sub", "sub/file"}));
    }
};

QTEST_GUILESS_MAIN(XcopySafety)
#include "tst_xcopy_safety.moc"
