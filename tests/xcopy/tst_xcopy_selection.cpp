#include "xcopy_harness.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <optional>

// Which files and folders a run copies, and what it keeps of them.
class XcopySelection : public QObject
{
    Q_OBJECT

    std::optional<Scratch> tmp;

  private slots:
    void init()
    {
        tmp.emplace();
        for (const char *folder :
             {"src/sub/deeper", "src/sub/nothing", "src/empty", "src/.hiddendir"})
            QVERIFY(QDir().mkpath(tmp->path(folder)));
        for (const char *file : {"src/a.txt", "src/.hidden.txt", "src/sub/b.txt",
                                 "src/sub/deeper/c.txt", "src/.hiddendir/d.txt"})
            writeFile(tmp->at(file), file);
        setModified(tmp->at("src/a.txt"), {1590969600, 0}); // June 2020
    }

    void selectsFiles_data()
    {
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<QStringList>("copied");
        QTest::addColumn<int>("exitCode");
        const QStringList top{"a.txt"};
        const QStringList sub{"sub", "sub/b.txt", "sub/deeper", "sub/deeper/c.txt"};
        const QStringList empty{"empty", "sub/nothing"};
        const QStringList hidden{".hidden.txt", ".hiddendir", ".hiddendir/d.txt"};
        QTest::newRow("folder only") << QStringList{"/Y"} << top << 0;
        QTest::newRow("subfolders") << QStringList{"/S"} << top + sub << 0;
        QTest::newRow("empty folders too") << QStringList{"/E"} << top + sub + empty << 0;
        QTest::newRow("hidden too") << QStringList{"/S", "/H"} << top + sub + hidden << 0;
        QTest::newRow("hidden top only")
            << QStringList{"/H"} << top + QStringList{".hidden.txt"} << 0;
        QTest::newRow("changed since a date") << QStringList{"/S", "/D:1-1-2021"} << sub << 0;
        QTest::newRow("lower case")
            << QStringList{"/e", "/h", "/y"} << top + sub + empty + hidden << 0;
        QTest::newRow("nothing found") << QStringList{"/S", "/D:1-1-2100"} << QStringList{} << 1;
    }

    void selectsFiles()
    {
        QFETCH(QStringList, switches);
        QFETCH(QStringList, copied);
        QFETCH(int, exitCode);
        const XcopyResult result = runXcopy(QStringList{tmp->src(), tmp->dst()} + switches);
        QCOMPARE(result.exitCode, exitCode);
        copied.sort();
        QCOMPARE(treeOf(tmp->dst()), copied);
        const auto files = std::count_if(copied.begin(), copied.end(), [&](const QString &path) {
            return QFileInfo(tmp->dst() + '/' + path).isFile();
        });
        QVERIFY2(result.out.endsWith(QByteArray::number(files) + " File(s) copied\n"), result.out);
    }

    void listingWritesNothing_data()
    {
        QTest::addColumn<bool>("destinationExists");
        QTest::newRow("missing destination") << false;
        QTest::newRow("existing destination") << true;
    }

    void listingWritesNothing()
    {
        QFETCH(bool, destinationExists);
        if (destinationExists) {
            QDir().mkpath(tmp->dst());
            writeFile(tmp->at("dst/a.txt"), "old");
        }
        const XcopyResult result = runXcopy({tmp->src(), tmp->dst(), "/L", "/E", "/H", "/Y"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains(QFile::encodeName(tmp->src()) + "/sub/deeper/c.txt\n"));
        QVERIFY(result.out.endsWith("5 File(s) copied\n"));
        QCOMPARE(QFile::exists(tmp->dst()), destinationExists);
        if (destinationExists) {
            QCOMPARE(treeOf(tmp->dst()), QStringList{"a.txt"});
            QCOMPARE(readFile(tmp->at("dst/a.txt")), QByteArray("old"));
        }
    }

    void existingFilesNeedYes_data()
    {
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("default keeps without a terminal") << QStringList{} << QByteArray("old");
        QTest::newRow("/-Y keeps without a terminal")
            << QStringList{"/Y", "/-Y"} << QByteArray("old");
        QTest::newRow("/Y overwrites") << QStringList{"/Y"} << QByteArray("src/a.txt");
    }

    void existingFilesNeedYes()
    {
        QFETCH(QStringList, switches);
        QFETCH(QByteArray, content);
        QDir().mkpath(tmp->dst());
        writeFile(tmp->at("dst/a.txt"), "old");
        const XcopyResult result = runXcopy(QStringList{tmp->src(), tmp->dst(), "/S"} + switches);
        QCOMPARE(result.exitCode, 0);
        QVERIFY(!result.out.contains("Overwrite"));
        QCOMPARE(readFile(tmp->at("dst/a.txt")), content);
        QCOMPARE(readFile(tmp->at("dst/sub/b.txt")), QByteArray("src/sub/b.txt"));
    }

    void asksOnATerminal_data()
    {
        QTest::addColumn<QByteArray>("answers");
        QTest::addColumn<int>("questions");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("yes") << QByteArray("y\nyes\n") << 2 << QByteArray("new");
        QTest::newRow("no") << QByteArray("n\nNo\n") << 2 << QByteArray("old");
        QTest::newRow("all") << QByteArray("A\n") << 1 << QByteArray("new");
        QTest::newRow("unclear, then no") << QByteArray("maybe\nn\nn\n") << 3 << QByteArray("old");
    }

    void asksOnATerminal()
    {
        QFETCH(QByteArray, answers);
        QFETCH(int, questions);
        QFETCH(QByteArray, content);
        QDir().mkpath(tmp->dst());
        QDir().mkpath(tmp->path("two"));
        for (const char *file : {"two/one", "two/other", "dst/one", "dst/other"})
            writeFile(tmp->at(file), QByteArray(file).startsWith("dst") ? "old" : "new");
        // script(1) gives the program a terminal as its standard input.
        QProcess terminal;
        terminal.setWorkingDirectory(tmp->dir.path());
        terminal.start("script", {"-qec", "'" XCOPY_PATH "' two dst", "/dev/null"});
        terminal.write(answers);
        QVERIFY(terminal.waitForFinished(20000));
        QCOMPARE(terminal.readAllStandardOutput().count("(Yes/No/All)? "), questions);
        QCOMPARE(readFile(tmp->at("dst/one")) + readFile(tmp->at("dst/other")), content + content);
    }

    void keepsTimesAndPermissions()
    {
        chmod(tmp->at("src/sub/b.txt").constData(), 0750);
        setModified(tmp->at("src/sub/b.txt"), {1600000000, 123456789});
        QDir().mkpath(tmp->path("dst/sub"));
        writeFile(tmp->at("dst/sub/b.txt"), "older and longer");
        chmod(tmp->at("dst/sub/b.txt").constData(), 0600);
        QCOMPARE(runXcopy({tmp->src(), tmp->dst(), "/S", "/Y"}).exitCode, 0);
        const struct stat copy = statOf(tmp->at("dst/sub/b.txt"));
        QCOMPARE(copy.st_mode & 07777, 0750u);
        QCOMPARE(copy.st_mtim.tv_sec, 1600000000);
        QCOMPARE(copy.st_mtim.tv_nsec, 123456789);
        QCOMPARE(readFile(tmp->at("dst/sub/b.txt")), QByteArray("src/sub/b.txt"));
    }

    void linksAreFollowedToFilesOnly()
    {
        QFile::link("a.txt", tmp->path("src/file link"));
        QFile::link("sub", tmp->path("src/folder link"));
        QFile::link("nowhere", tmp->path("src/broken link"));
        const XcopyResult result = runXcopy({tmp->src(), tmp->dst(), "/S"});
        QCOMPARE(result.exitCode, 5);
        QVERIFY2(result.err.contains("broken link: No such file or directory"), result.err);
        QVERIFY(!result.err.contains("folder link"));
        QVERIFY(!QFileInfo(tmp->dst() + "/file link").isSymLink());
        QCOMPARE(readFile(tmp->at("dst/file link")), QByteArray("src/a.txt"));
        QVERIFY(!QFileInfo::exists(tmp->dst() + "/folder link"));
        QCOMPARE(readFile(tmp->at("dst/sub/deeper/c.txt")), QByteArray("src/sub/deeper/c.txt"));
    }

    void copiesASingleFileIntoTheFolder()
    {
        const XcopyResult result = runXcopy({tmp->path("src/sub/b.txt"), tmp->dst(), "/F"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(treeOf(tmp->dst()), QStringList{"b.txt"});
        QVERIFY(
            result.out.startsWith(tmp->at("src/sub/b.txt") + " -> " + tmp->at("dst/b.txt") + '\n'));
    }
};

QTEST_GUILESS_MAIN(XcopySelection)
#include "tst_xcopy_selection.moc"
