#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

Q_DECLARE_METATYPE(timespec)

namespace {

struct Result
{
    int exitCode = -1; // -1 when it crashed or hung
    QByteArray out, err;
};

// Runs the built program in the current folder, SETUP first in the child. It is executed here, not
// by QProcess, which would convert the arguments from QString, so that they pass byte for byte.
// SETTINGS ("NAME=value") are added to the environment.
Result run(QByteArrayList arguments, const std::function<void()> &setup = {},
           const char *program = XCOPY_PATH, QByteArrayList settings = {})
{
    arguments.prepend(program);
    std::vector<char *> argv, environment;
    for (QByteArray &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    for (char **setting = environ; *setting != nullptr; ++setting)
        environment.push_back(*setting);
    for (QByteArray &setting : settings)
        environment.push_back(setting.data());
    environment.push_back(nullptr);
    QProcess process;
    process.setChildProcessModifier([&] {
        if (setup)
            setup();
        execve(argv[0], argv.data(), environment.data());
        _exit(127);
    });
    process.start(program);
    process.closeWriteChannel(); // no terminal: nothing is asked, a slipped question reads nothing
    const bool ended =
        process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// Writes the file and the folders it is in, then sets its modification time if it is not negative.
// Paths are byte strings so that names which are not UTF-8 work too.
void writeFile(const QByteArray &path, const QByteArray &content, timespec modified = {-1, 0})
{
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path.toStdString()).parent_path(),
                                        ignored);
    if (!(std::ofstream(path.constData(), std::ios::binary) << content.toStdString()))
        qFatal("cannot write %s", path.constData());
    const timespec times[2] = {modified, modified};
    if (modified.tv_sec >= 0 && utimensat(AT_FDCWD, path.constData(), times, 0) != 0)
        qFatal("cannot set the time of %s", path.constData());
}

QByteArray readFile(const QByteArray &path)
{
    std::ifstream file(path.constData(), std::ios::binary);
    return file ? QByteArray::fromStdString({std::istreambuf_iterator<char>(file), {}})
                : "<missing>";
}

// Permissions, modification time, inode and status change time.
QString stampOf(const QString &path)
{
    struct stat s = {};
    stat(QFile::encodeName(path).constData(), &s);
    return QString::asprintf("%o %ld.%09ld %lu %ld.%09ld", s.st_mode & 07777, s.st_mtim.tv_sec,
                             s.st_mtim.tv_nsec, s.st_ino, s.st_ctim.tv_sec, s.st_ctim.tv_nsec);
}

// Relative paths of every file and folder below ROOT, hidden ones included, sorted; STAMPED adds
// each one's stampOf().
QStringList treeOf(const QString &root, bool stamped = false)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries << path.mid(root.size() + 1) + (stamped ? ' ' + stampOf(path) : QString());
    }
    entries.sort();
    return entries;
}

// The built program with its test points, steered by SETTING ("NAME=value").
Result runWithTestPoint(const QByteArrayList &arguments, const QByteArray &setting)
{
    return run(arguments, {}, XCOPY_WITH_TEST_POINTS_PATH, {setting});
}

// Modification time as the file system keeps it, past any cache of a FUSE file system.
timespec keptTime(const QByteArray &path)
{
    struct statx info = {};
    statx(AT_FDCWD, path.constData(), AT_STATX_FORCE_SYNC, STATX_MTIME, &info);
    return {info.stx_mtime.tv_sec, info.stx_mtime.tv_nsec};
}

// Runs a helper program, its output dropped; true when it succeeded.
bool succeeds(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

bool isRoot()
{
    return geteuid() == 0;
}

} // namespace

// The built program run on real files, each case in a fresh current folder.
class XcopyRuns : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> tmp;
    QStringList mounts;

    // Mounts what MOUNT_ARGUMENTS name (a program and its arguments) on TARGET, for cleanup() to
    // undo; false when this machine does not allow it.
    bool mount(const QString &target, QStringList mountArguments)
    {
        QDir().mkpath(target);
        if (!succeeds(mountArguments.takeFirst(), mountArguments << target))
            return false;
        mounts.prepend(QDir(target).absolutePath());
        return true;
    }

  private slots:
    void init()
    {
        tmp.emplace();
        QVERIFY(QDir::setCurrent(tmp->path()));
        QVERIFY(QDir().mkpath("src/sub/nothing") && QDir().mkpath("src/empty"));
        for (const char *file :
             {"src/.hidden.txt", "src/sub/b.txt", "src/sub/deeper/c.txt", "src/.hiddendir/d.txt"})
            writeFile(file, file);
        writeFile("src/a.txt", "src/a.txt", {1590969600, 123456789}); // June 2020
        QCOMPARE(chmod("src/a.txt", 0750), 0);
    }

    // QTemporaryDir cannot remove names that are not UTF-8, nor folders without rights.
    void cleanup()
    {
        for (const QString &target : std::exchange(mounts, {}))
            QProcess::execute("umount", {"-l", target});
        chmod("src/locked", 0755);
        QProcess::execute("rm", {"-rf", tmp->path()});
    }

    void readsArguments_data()
    {
        QTest::addColumn<QByteArrayList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("message");
        const auto row = [](const char *name, QByteArrayList arguments, int exit,
                            const char *text) {
            QTest::newRow(name) << arguments << exit << QByteArray(text);
        };
        row("unknown switch", {"src", "dst", "/Q9"}, 4, "Invalid switch - /Q9");
        row("impossible date", {"src", "dst", "/D:2-30-2026"}, 4, "Invalid switch - /D:2-30-2026");
        row("third path", {"src", "dst", "more"}, 4, "Invalid switch - more");
        row("source only", {"src"}, 4, "source and a destination");
        row("missing source", {"nowhere", "dst"}, 4, "source - nowhere: No such file");
        row("source like a switch", {"/S", "dst", "/Y"}, 4, "source - /S: No such file");
        row("empty source", {"", "dst"}, 4, "source path is empty");
        row("empty destination", {"src", ""}, 4, "destination path is empty");
        row("usage among switches", {"src", "dst", "/s", "/?"}, 0, "xcopy SOURCE DESTINATION");
        row("destination like a switch", {"src", "/D", "/L", "/F"}, 0,
            "src/a.txt -> /D/a.txt\n1 File(s) copied");
    }

    void readsArguments()
    {
        QFETCH(QByteArrayList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, message);
        if (QFile::exists("/D"))
            QSKIP("a folder /D exists on this machine");
        const Result result = run(arguments);
        const bool written = QFile::exists("dst") || QFile::exists("/D");
        QDir("/D").removeRecursively(); // so that a wrong write does not make later runs skip
        QVERIFY(!written);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2((exitCode ? result.err : result.out).contains(message), result.err + result.out);
    }

    void copiesAwkwardNames_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("blank") << QByteArray("two words");
        QTest::newRow("quotes") << QByteArray("it's \"quoted\"");
        QTest::newRow("shell signs") << QByteArray("$HOME;ls|cat&");
        QTest::newRow("newline") << QByteArray("line\nbreak");
        QTest::newRow("leading dash") << QByteArray("-rf");
        QTest::newRow("asterisk") << QByteArray("*");
        QTest::newRow("not UTF-8") << QByteArray("caf\xe9\xfe");
    }

    void copiesAwkwardNames()
    {
        QFETCH(QByteArray, name);
        writeFile(name + '/' + name + '/' + name, "inner");
        const Result result = run({name, name + " copy", "/S"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.out.contains(name + '/' + name + '/' + name + '\n'), result.out);
        QCOMPARE(readFile(name + " copy/" + name + '/' + name), QByteArray("inner"));
    }

    // Also what is kept of the copied files, and of a destination file there before.
    void selectsFiles_data()
    {
        QTest::addColumn<QByteArrayList>("switches");
        QTest::addColumn<QByteArray>("old"); // what becomes of a dst/a.txt there before, if any
        QTest::addColumn<QStringList>("tree");
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("exitCode");
        const auto row = [](const char *name, QByteArrayList switches, const char *old,
                            QStringList tree, int files, int exitCode = 0) {
            tree.sort();
            QTest::newRow(name) << switches << QByteArray(old) << tree << files << exitCode;
        };
        const QStringList top{"a.txt"};
        const QStringList sub{"sub", "sub/b.txt", "sub/deeper", "sub/deeper/c.txt"};
        const QStringList empty{"empty", "sub/nothing"};
        const QStringList hidden{".hidden.txt", ".hiddendir", ".hiddendir/d.txt"};
        row("folder only", {"/Y"}, "", top, 1);
        row("subfolders", {"/S"}, "", top + sub, 3);
        row("empty folders too", {"/E"}, "", top + sub + empty, 3);
        row("hidden too", {"/S", "/H"}, "", top + sub + hidden, 5);
        row("hidden top only", {"/H"}, "", top + QStringList{".hidden.txt"}, 2);
        row("changed since a date", {"/S", "/D:1-1-2021"}, "", sub, 2);
        row("lower case", {"/e", "/h", "/y"}, "", top + sub + empty + hidden, 5);
        row("nothing found", {"/S", "/D:1-1-2100"}, "", {}, 0, 1);
        row("listing only", {"/L", "/E", "/H", "/Y"}, "", {}, 5);
        row("listing over a file", {"/L", "/E", "/H", "/Y"}, "kept", top, 5);
        row("kept without a terminal", {"/S"}, "kept", top + sub, 2);
        row("kept with /-Y", {"/S", "/Y", "/-Y"}, "kept", top + sub, 2);
        row("replaced with /Y", {"/S", "/Y"}, "replaced", top + sub, 3);
    }

    void selectsFiles()
    {
        QFETCH(QByteArrayList, switches);
        QFETCH(QByteArray, old);
        QFETCH(QStringList, tree);
        QFETCH(int, files);
        QFETCH(int, exitCode);
        if (!old.isEmpty()) {
            writeFile("dst/a.txt", "older and longer");
            QCOMPARE(chmod("dst/a.txt", 0600), 0);
        }
        const Result result = run(QByteArrayList{"src", "dst"} + switches);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(result.out.endsWith(QByteArray::number(files) + " File(s) copied\n"), result.out);
        QVERIFY(!result.out.contains("Overwrite"));
        QCOMPARE(treeOf("dst"), tree);
        if (switches.contains("/L"))
            QCOMPARE(QFile::exists("dst"), !old.isEmpty());
        for (const QString &path : tree) {
            const QByteArray copy = "dst/" + path.toUtf8(), source = "src/" + path.toUtf8();
            if (old == "kept" && path == "a.txt")
                QCOMPARE(readFile(copy), QByteArray("older and longer"));
            else if (QFileInfo(copy).isFile())
                QCOMPARE(readFile(copy) + ' ' + stampOf(copy).section(' ', 0, 1).toUtf8(),
                         source + ' ' + stampOf(source).section(' ', 0, 1).toUtf8());
        }
    }

    // /D: a file is copied only when its destination is missing or truly older.
    void copiesOnlyNewer_data()
    {
        QTest::addColumn<timespec>("destinationTime"); // none when negative
        QTest::addColumn<bool>("copied");
        // The source was changed at 1700000001.7 s.
        QTest::newRow("missing") << timespec{-1, 0} << true;
        QTest::newRow("older by seconds") << timespec{1699999991, 700000000} << true;
        QTest::newRow("older by a millisecond") << timespec{1700000001, 699000000} << true;
        QTest::newRow("same time") << timespec{1700000001, 700000000} << false;
        QTest::newRow("newer") << timespec{1700000011, 700000000} << false;
        QTest::newRow("edited 1.5 s after its copy") << timespec{1700000000, 200000000} << true;
        QTest::newRow("whole second, older") << timespec{1700000001, 0} << true;
        QTest::newRow("whole seconds, truly older") << timespec{1699999998, 0} << true;
    }

    void copiesOnlyNewer()
    {
        QFETCH(timespec, destinationTime);
        QFETCH(bool, copied);
        writeFile("src/sub/file", "new", {1700000001, 700000000});
        if (destinationTime.tv_sec >= 0)
            writeFile("dst/sub/file", "old", destinationTime);
        const QByteArrayList arguments{"src", "dst", "/D", "/Y", "/S"};
        const Result first = run(arguments);
        QCOMPARE(first.exitCode, 0);
        QVERIFY2(first.out.endsWith(QByteArray::number(3 + copied) + " File(s) copied\n"),
                 first.out);
        QCOMPARE(readFile("dst/sub/file"), copied ? QByteArray("new") : QByteArray("old"));

        // A second run copies nothing and rewrites nothing.
        const QStringList stamps = treeOf("dst", true);
        const Result second = run(arguments);
        QCOMPARE(second.exitCode, 0);
        QVERIFY2(second.out.endsWith("0 File(s) copied\n"), second.out);
        QCOMPARE(treeOf("dst", true), stamps);
    }

    void refusesCyclicCopy_data()
    {
        QTest::addColumn<QByteArray>("destination");
        QTest::newRow("the source itself") << QByteArray("src");
        QTest::newRow("the source with a dot") << QByteArray("src/.");
        QTest::newRow("existing subfolder") << QByteArray("src/sub");
        QTest::newRow("new subfolder") << QByteArray("src/new/deeper");
        QTest::newRow("through ..") << QByteArray("dst/../src/new");
        QTest::newRow("through a missing folder and ..") << QByteArray("missing/../src");
        QTest::newRow("through a link") << QByteArray("link/new");
        QTest::newRow("through a bind mount") << QByteArray("bound/new");
        QTest::newRow("below a bind mount") << QByteArray("bound/sub/new");
    }

    void refusesCyclicCopy()
    {
        QFETCH(QByteArray, destination);
        if (destination.startsWith("bound/") &&
            !(isRoot() && mount("bound", {"mount", "--bind", "src"})))
            QSKIP("bind mounts need root");
        QVERIFY(QFile::link("src", "link"));
        const QStringList before = treeOf(".", true);
        const Result result = run({"src", destination, "/E", "/Y"});
        QCOMPARE(result.exitCode, 4);
        QVERIFY2(result.err.contains("Cannot perform a cyclic copy"), result.err);
        QCOMPARE(treeOf(".", true), before);
    }

    void destinationMountedInsideSourceIsLeftOut()
    {
        QVERIFY(QDir().mkpath("dst"));
        if (!(isRoot() && mount("src/sub/deeper/inner", {"mount", "--bind", "dst"})))
            QSKIP("bind mounts need root");
        const Result result = run({"src", "dst", "/E", "/Y"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(treeOf("dst"), (QStringList{"a.txt", "empty", "sub", "sub/b.txt", "sub/deeper",
                                             "sub/deeper/c.txt", "sub/nothing"}));
    }

    void failedWriteKeepsOldFile()
    {
        writeFile("src/big", QByteArray(1 << 20, 'x'));
        writeFile("dst/big", "old content");
        const Result result = run({"src", "dst", "/S", "/Y"}, [] {
            const rlimit limit{64 << 10, 64 << 10};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        QCOMPARE(result.exitCode, 5);
        QVERIFY2(result.err.contains("dst/big: File too large"), result.err);
        QCOMPARE(readFile("dst/big"), QByteArray("old content"));
        QCOMPARE(treeOf("dst"), (QStringList{"a.txt", "big", "sub", "sub/b.txt", "sub/deeper",
                                             "sub/deeper/c.txt"}));
    }

    // Each thread holds a complete temporary file when the interrupt comes.
    void interruptRemovesEveryTemporaryFile()
    {
        for (int folder = 0; folder < 8; ++folder) {
            writeFile("many/" + QByteArray::number(folder) + "/new", "new");
            writeFile("dst/" + QByteArray::number(folder) + "/new", "old");
        }
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XCOPY_TEST_HOLD", "1");
        environment.insert("XCOPY_THREADS", "4");
        process.setProcessEnvironment(environment);
        process.start(XCOPY_WITH_TEST_POINTS_PATH, {"many", "dst", "/S", "/Y"});
        const auto temporaryFiles = [] {
            return treeOf("dst").filter(QRegularExpression("/\\.xcopy-[0-9]+-[0-9]+\\.tmp$"));
        };
        QTRY_COMPARE_WITH_TIMEOUT(temporaryFiles().size(), 4, 20000);
        process.terminate();
        QVERIFY(process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 2);
        QCOMPARE(temporaryFiles(), QStringList());
        for (int folder = 0; folder < 8; ++folder)
            QCOMPARE(readFile("dst/" + QByteArray::number(folder) + "/new"), QByteArray("old"));
    }

    // Several threads list and report at once into one pipe; one file fails.
    void failingFileAmongThousandsIsReportedOnce()
    {
        const QByteArray longName(100, 'n');
        QSet<QByteArray> expected{"2999 File(s) copied"};
        for (int folder = 0; folder < 30; ++folder) {
            for (int file = 0; file < 100; ++file) {
                const QByteArray name =
                    QByteArray::number(folder) + "/file" + QByteArray::number(file) + longName;
                writeFile("many/" + name, "x");
                expected << "many/" + name + " -> copy/" + name;
            }
        }
        const QByteArray failing = "17/file5" + longName;
        expected.remove("many/" + failing + " -> copy/" + failing);
        QVERIFY(QDir().mkpath("copy/" + failing));
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(XCOPY_PATH, {"many", "copy", "/S", "/Y", "/F"});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 5);
        QList<QByteArray> lines = process.readAll().split('\n');
        QCOMPARE(lines.takeLast(), QByteArray());
        QCOMPARE(lines.removeAll("Cannot write copy/" + failing + ": Is a directory"), 1);
        QCOMPARE(lines.size(), expected.size());
        QCOMPARE(QSet<QByteArray>(lines.begin(), lines.end()), expected);
    }

    void fifoSwappedInIsReportedAndSkipped()
    {
        const Result result = runWithTestPoint({"src", "dst", "/S"}, "XCOPY_TEST_FIFO_FOR=b.txt");
        QCOMPARE(result.exitCode, 5);
        QVERIFY2(result.err.contains("Cannot read src/sub/b.txt: Not a regular file"), result.err);
        QVERIFY2(result.out.endsWith("2 File(s) copied\n"), result.out);
        QCOMPARE(treeOf("dst"), (QStringList{"a.txt", "sub", "sub/deeper", "sub/deeper/c.txt"}));
    }

    // A replaced file reaches the disk before the old one goes; new files wait for one flush of
    // the whole file system at the end.
    void flushes_data()
    {
        QTest::addColumn<QByteArray>("failing");
        QTest::addColumn<QByteArrayList>("switches");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("file flush before replacing")
            << QByteArray("fdatasync") << QByteArrayList{"/Y"} << 5
            << QByteArray("Cannot write dst/a.txt: Input/output error");
        QTest::newRow("no file flush for a new file")
            << QByteArray("fdatasync") << QByteArrayList{"/Y", "/S"} << 5
            << QByteArray("2 File(s) copied");
        QTest::newRow("file system flush at the end")
            << QByteArray("syncfs") << QByteArrayList{"/Y"} << 5
            << QByteArray("Cannot flush dst: Input/output error");
        QTest::newRow("nothing flushed for a listing")
            << QByteArray("syncfs") << QByteArrayList{"/L", "/Y"} << 0 << QByteArray();
    }

    void flushes()
    {
        QFETCH(QByteArray, failing);
        QFETCH(QByteArrayList, switches);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, message);
        writeFile("dst/a.txt", "old");
        const Result result =
            runWithTestPoint(QByteArrayList{"src", "dst"} + switches, "XCOPY_TEST_FAIL=" + failing);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2((result.err + result.out).contains(message), result.err + result.out);
        const bool replaced = failing == "syncfs" && !switches.contains("/L");
        QCOMPARE(readFile("dst/a.txt"), replaced ? QByteArray("src/a.txt") : QByteArray("old"));
        QCOMPARE(treeOf("dst").filter(".xcopy-"), QStringList());
    }

    void sparseFileKeepsHoles()
    {
        const qint64 size = qint64(1) << 30;
        writeFile("sparse/file", {});
        QVERIFY(QFile::resize("sparse/file", size));
        QFile file("sparse/file");
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(size / 2));
        QCOMPARE(file.write(QByteArray(4096, 'd')), 4096);
        file.close();
        QCOMPARE(run({"sparse", "dst"}).exitCode, 0);
        struct stat source = {}, copy = {};
        QVERIFY(stat("sparse/file", &source) == 0 && stat("dst/file", &copy) == 0);
        QCOMPARE(copy.st_size, size);
        QVERIFY2(copy.st_blocks <= source.st_blocks + 8, QByteArray::number(copy.st_blocks));
        QFile copied("dst/file");
        QVERIFY(copied.open(QIODevice::ReadOnly) && copied.seek(size / 2 - 1));
        QCOMPARE(copied.read(4098), '\0' + QByteArray(4096, 'd') + '\0');
    }

    // A FAT stick stores times in 2-second steps and stamps a renamed file with the time of day.
    void fatStickKeepsTimesAndCopiesOnlyChanges()
    {
        if (!isRoot() || QStandardPaths::findExecutable("fusefat").isEmpty() ||
            QStandardPaths::findExecutable("mkfs.fat").isEmpty() || access("/dev/fuse", W_OK) != 0)
            QSKIP("needs root, /dev/fuse, fusefat and mkfs.fat");
        writeFile("fat.img", {});
        QVERIFY(QFile::resize("fat.img", 32 << 20) && succeeds("mkfs.fat", {"fat.img"}));
        if (!mount("fat", {"fusefat", "-o", "rw+", "fat.img"}))
            QSKIP("fusefat cannot mount here");
        const QByteArrayList arguments{"src", "fat/dst", "/D", "/Y", "/S"};
        QVERIFY2(run(arguments).out.endsWith("3 File(s) copied\n"), "first copy");
        const timespec kept = keptTime("fat/dst/a.txt");
        QCOMPARE(kept.tv_nsec, 0);
        QCOMPARE(kept.tv_sec, 1590969600); // the source's June 2020, an even second already
        QVERIFY2(run(arguments).out.endsWith("0 File(s) copied\n"), "second copy");
        writeFile("src/a.txt", "changed", {1590969602, 500000000});
        const Result changed = run(arguments);
        QVERIFY2(changed.out == "src/a.txt\n1 File(s) copied\n", changed.out);
    }

    void listingReaderLeavingDoesNotStopCopy()
    {
        for (int i = 0; i < 4000; ++i) // enough names to fill the pipe after the reader is gone
            writeFile("src/sub/file" + QByteArray::number(i), "x");
        const QString pipe = R"("$0" src dst /S | head -n 1 >/dev/null; exit ${PIPESTATUS[0]})";
        QCOMPARE(QProcess::execute("bash", {"-c", pipe, XCOPY_PATH}), 0);
        QCOMPARE(QDir("dst/sub").entryList(QDir::Files).size(), 4001);
    }

    void unreadableEntriesAreReported()
    {
        writeFile("src/secret", "secret");
        writeFile("src/locked/inner", "inner");
        QVERIFY(chmod("src/secret", 0) == 0 && chmod("src/locked", 0) == 0);
        // Root reads everything, so then the program runs as "nobody".
        if (geteuid() == 0)
            QCOMPARE(QProcess::execute("chown", {"-R", "65534:65534", "."}), 0);
        const Result result = run({"src", "dst", "/S"}, [] {
            if (geteuid() == 0 && (setgid(65534) || setuid(65534)))
                _exit(126);
        });
        QCOMPARE(result.exitCode, 5);
        QVERIFY2(result.err.contains("src/secret: Permission denied"), result.err);
        QVERIFY2(result.err.contains("src/locked: Permission denied"), result.err);
        QCOMPARE(treeOf("dst"),
                 (QStringList{"a.txt", "sub", "sub/b.txt", "sub/deeper", "sub/deeper/c.txt"}));
    }
};

QTEST_GUILESS_MAIN(XcopyRuns)
#include "tst_xcopy_runs.moc"
