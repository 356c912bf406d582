#include "xcopy_harness.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

// How the command line is read: paths first, whatever they look like, then switches.
class XcopyArguments : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> dir;
    QByteArray at(const QString &relative) const
    {
        return QFile::encodeName(dir->filePath(relative));
    }

  private slots:
    void init()
    {
        dir.emplace();
        QVERIFY(QDir().mkpath(dir->filePath("src")));
        writeFile(at("src/a.txt"), "a");
    }

    // QTemporaryDir cannot remove names that are not UTF-8.
    void cleanup() { QProcess::execute("rm", {"-rf", dir->path()}); }

    void refusesBadArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("unknown switch")
            << QStringList{"src", "dst", "/Q9"} << QByteArray("Invalid switch - /Q9");
        QTest::newRow("impossible date") << QStringList{"src", "dst", "/D:2-30-2026"}
                                         << QByteArray("Invalid switch - /D:2-30-2026");
        QTest::newRow("third path")
            << QStringList{"src", "dst", "more"} << QByteArray("Invalid switch - more");
        QTest::newRow("source only")
            << QStringList{"src"} << QByteArray("source and a destination");
        QTest::newRow("nothing") << QStringList{} << QByteArray("source and a destination");
        QTest::newRow("missing source")
            << QStringList{"nowhere", "dst"} << QByteArray("source - nowhere: No such file");
        QTest::newRow("source like a switch")
            << QStringList{"/S", "dst", "/Y"} << QByteArray("source - /S: No such file");
        QTest::newRow("empty source")
            << QStringList{"", "dst"} << QByteArray("source path is empty");
        QTest::newRow("empty destination")
            << QStringList{"src", ""} << QByteArray("destination path is empty");
    }

    void refusesBadArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, message);
        const XcopyResult result = runXcopy(arguments, dir->path());
        QCOMPARE(result.exitCode, 4);
        QVERIFY2(result.err.contains(message), result.err);
        QVERIFY(!QFile::exists(dir->filePath("dst")));
    }

    void printsUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("alone") << QStringList{"/?"};
        QTest::newRow("among switches") << QStringList{"src", "dst", "/s", "/?"};
    }

    void printsUsage()
    {
        QFETCH(QStringList, arguments);
        const XcopyResult result = runXcopy(arguments, dir->path());
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains("xcopy SOURCE DESTINATION"));
        QVERIFY(!QFile::exists(dir->filePath("dst")));
    }

    void destinationLikeASwitchIsAPath()
    {
        if (QFile::exists("/D"))
            QSKIP("a folder /D exists on this machine");
        const XcopyResult result = runXcopy({"src", "/D", "/L", "/F"}, dir->path());
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.out.contains("src/a.txt -> /D/a.txt\n1 File(s) copied"), result.out);
        QVERIFY(!QFile::exists("/D"));
    }

    void copiesAwkwardNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("blank") << "two words";
        QTest::newRow("quotes") << "it's \"quoted\"";
        QTest::newRow("shell signs") << "$HOME;ls|cat&";
        QTest::newRow("newline") << "line\nbreak";
        QTest::newRow("leading dash") << "-rf";
        QTest::newRow("asterisk") << "*";
    }

    void copiesAwkwardNames()
    {
        QFETCH(QString, name);
        QVERIFY(QDir().mkpath(dir->filePath(name + '/' + name)));
        writeFile(at(name + '/' + name + '/' + name), "inner");
        const XcopyResult result = runXcopy({name, name + " copy", "/S"}, dir->path());
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(readFile(at(name + " copy/" + name + '/' + name)), QByteArray("inner"));
    }

    void copiesNamesThatAreNotUtf8()
    {
        const QByteArray source = QFile::encodeName(dir->path()) + "/caf\xe9";
        const QByteArray destination = QFile::encodeName(dir->path()) + "/out\xff";
        QCOMPARE(mkdir(source.constData(), 0755), 0);
        writeFile(source + "/\xfe\xfe.bin", "bytes");
        const XcopyResult result = runXcopyRaw({source, destination});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains("caf\xe9/\xfe\xfe.bin\n"));
        QCOMPARE(readFile(destination + "/\xfe\xfe.bin"), QByteArray("bytes"));
    }
};

QTEST_GUILESS_MAIN(XcopyArguments)
#include "tst_xcopy_arguments.moc"
