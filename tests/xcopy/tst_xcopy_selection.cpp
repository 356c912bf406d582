#include "xcopy_harness.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

// Which files and folders a run copies, and what it keeps of them.
class XcopySelection : public QObject
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
        for (const char *folder :
             {"src/sub/deeper", "src/sub/nothing", "src/empty", "src/.hiddendir"})
            QVERIFY(QDir().mkpath(dir->filePath(folder)));
        for (const char *file : {"src/a.txt", "src/.hidden.txt", "src/sub/b.txt",
                                 "src/sub/deeper/c.txt", "src/.hiddendir/d.txt"})
            writeFile(at(file), file);
        setModified(at("src/a.txt"), {1590969600, 0}); // June 2020
    }

    void selectsFiles_data()
    {
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<QStringList>("copied");
        const QStringList top{"a.txt"};
        const QStringList sub{"sub", "sub/b.txt", "sub/deeper", "sub/deeper/c.txt"};
        const QStringList empty{"empty", "sub/nothing"};
        const QStringList hidden{".hidden.txt", ".hiddendir", ".hiddendir/d.txt"};
        QTest::newRow("folder only") << QStringList{"/Y"} << top;
        QTest::newRow("subfolders") << QStringList{"/S"} << top + sub;
        QTest::newRow("empty folders too") << QStringList{"/E"} << top + sub + empty;
        QTest::newRow("hidden too") << QStringList{"/S", "/H"} << top + sub + hidden;
        QTest::newRow("hidden top only") << QStringList{"/H"} << top + QStringList{".hidden.txt"};
        QTest::newRow("changed since a date") << QStringList{"/S", "/D:1-1-2021"} << sub;
        QTest::newRow("lower case") << QStringList{"/e", "/h", "/y"} << top + sub + empty + hidden;
    }

    void selectsFiles()
    {
        QFETCH(QStringList, switches);
        QFETCH(QStringList, copied);
        const XcopyResult result = runXcopy(QStringList{src(), dst()} + switches);
        QCOMPARE(result.exitCode, 0);
        copied.sort();
        QCOMPARE(treeOf(dst()), copied);
        const auto files = std::count_if(copied.begin(), copied.end(), [&](const QString &path) {
            return QFileInfo(dst() + '/' + path).isFile();
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
            QDir().mkpath(dst());
            writeFile(at("dst/a.txt"), "old");
        }
        const XcopyResult result = runXcopy({src(), dst(), "/L", "/E", "/H", "/Y"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains(QFile::encodeName(src()) + "/sub/deeper/c.txt\n"));
        QVERIFY(result.out.endsWith("5 File(s) copied\n"));
        QCOMPARE(QFile::exists(dst()), destinationExists);
        if (destinationExists) {
            QCOMPARE(treeOf(dst()), QStringList{"a.txt"});
            QCOMPARE(readFile(at("dst/a.txt")), QByteArray("old"));
        }
    }

    void findingNoFileExitsWithOne()
    {
        QVERIFY(QDir().mkpath(dir->filePath("only hidden/.folder")));
        writeFile(at("only hidden/.file"), "hidden");
        writeFile(at("only hidden/.folder/file"), "in a hidden folder");
        const XcopyResult result = runXcopy({dir->filePath("only hidden"), dst(), "/S"});
        QCOMPARE(result.exitCode, 1);
        QVERIFY(result.out.endsWith("0 File(s) copied\n"));
        QVERIFY(!QFile::exists(dst()));
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
        QDir().mkpath(dst());
        writeFile(at("dst/a.txt"), "old");
        const XcopyResult result = runXcopy(QStringList{src(), dst(), "/S"} + switches);
        QCOMPARE(result.exitCode, 0);
        QVERIFY(!result.out.contains("Overwrite"));
        QCOMPARE(readFile(at("dst/a.txt")), content);
        QCOMPARE(readFile(at("dst/sub/b.txt")), QByteArray("src/sub/b.txt"));
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
        QDir().mkpath(dst());
        QDir().mkpath(dir->filePath("two"));
        for (const char *file : {"two/one", "two/other", "dst/one", "dst/other"})
            writeFile(at(file), QByteArray(file).startsWith("dst") ? "old" : "new");
        // script(1) gives the program a terminal as its standard input.
        QProcess terminal;
        terminal.setWorkingDirectory(dir->path());
        terminal.start("script", {"-qec", "'" XCOPY_PATH "' two dst", "/dev/null"});
        terminal.write(answers);
        QVERIFY(terminal.waitForFinished(20000));
        QCOMPARE(terminal.readAllStandardOutput().count("(Yes/No/All)? "), questions);
        QCOMPARE(readFile(at("dst/one")) + readFile(at("dst/other")), content + content);
    }

    void keepsTimesAndPermissions()
    {
        chmod(at("src/sub/b.txt").constData(), 0750);
        setModified(at("src/sub/b.txt"), {1600000000, 123456789});
        QDir().mkpath(dir->filePath("dst/sub"));
        writeFile(at("dst/sub/b.txt"), "older and longer");
        chmod(at("dst/sub/b.txt").constData(), 0600);
        QCOMPARE(runXcopy({src(), dst(), "/S", "/Y"}).exitCode, 0);
        const struct stat copy = statOf(at("dst/sub/b.txt"));
        QCOMPARE(copy.st_mode & 07777, 0750u);
        QCOMPARE(copy.st_mtim.tv_sec, 1600000000);
        QCOMPARE(copy.st_mtim.tv_nsec, 123456789);
        QCOMPARE(readFile(at("dst/sub/b.txt")), QByteArray("src/sub/b.txt"));
    }

    void linksAreFollowedToFilesOnly()
    {
        QFile::link("a.txt", dir->filePath("src/file link"));
        QFile::link("sub", dir->filePath("src/folder link"));
        QFile::link("nowhere", dir->filePath("src/broken link"));
        const XcopyResult result = runXcopy({src(), dst(), "/S"});
        QCOMPARE(result.exitCode, 5);
        QVERIFY2(result.err.contains("broken link: No such file or directory"), result.err);
        QVERIFY(!result.err.contains("folder link"));
        QVERIFY(!QFileInfo(dst() + "/file link").isSymLink());
        QCOMPARE(readFile(at("dst/file link")), QByteArray("src/a.txt"));
        QVERIFY(!QFileInfo::exists(dst() + "/folder link"));
        QCOMPARE(readFile(at("dst/sub/deeper/c.txt")), QByteArray("src/sub/deeper/c.txt"));
    }

    void copiesASingleFileIntoTheFolder()
    {
        const XcopyResult result = runXcopy({dir->filePath("src/sub/b.txt"), dst(), "/F"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(treeOf(dst()), QStringList{"b.txt"});
        QVERIFY(result.out.startsWith(at("src/sub/b.txt") + " -> " + at("dst/b.txt") + '\n'));
    }
};

QTEST_GUILESS_MAIN(XcopySelection)
#include "tst_xcopy_selection.moc"
