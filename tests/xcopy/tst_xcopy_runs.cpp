#include <QDir>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using Prepare = std::function<void()>;
Q_DECLARE_METATYPE(Prepare)

namespace {

// Runs COMMAND, a program and its arguments, in the current folder with nothing on its input;
// "xcopy" stands for the built program and "xcopy+" for it with its test points, steered by the
// settings its source describes. Gives the exit code (-1 when it crashed or hung) and the output.
std::pair<int, QByteArray> run(QStringList command)
{
    for (QString &word : command)
        word = word == "xcopy" ? XCOPY_PATH : word == "xcopy+" ? XCOPY_WITH_TEST_POINTS_PATH : word;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.takeFirst(), command);
    process.closeWriteChannel();
    const bool ended =
        process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1, process.readAll()};
}

// Writes the file and the folders it is in, with the modification time given or the current one.
void writeFile(const QByteArray &path, const QByteArray &content,
               timespec modified = {0, UTIME_NOW})
{
    std::filesystem::create_directories(std::filesystem::path(path.toStdString()).parent_path());
    const bool written = bool(std::ofstream(path.constData()) << content.toStdString());
    const timespec times[2] = {modified, modified};
    if (!written || utimensat(AT_FDCWD, path.constData(), times, 0) != 0)
        qFatal("cannot write %s", path.constData());
}

// What a copy keeps of what PATH leads to: type and permission bits, modification time (as the
// file system keeps it, past any cache of a FUSE file system) and a file's content.
QByteArray describe(const QByteArray &path)
{
    struct statx info = {};
    statx(AT_FDCWD, path.constData(), AT_STATX_FORCE_SYNC, STATX_BASIC_STATS, &info);
    if (S_ISDIR(info.stx_mode))
        return "folder"; // whose time changes as entries come and go
    std::ifstream file(S_ISREG(info.stx_mode) ? path.constData() : ""); // a FIFO would block
    const std::string content(std::istreambuf_iterator<char>(file), {});
    return QString::asprintf("%o %lld.%u %s", info.stx_mode, info.stx_mtime.tv_sec,
                             info.stx_mtime.tv_nsec, content.c_str())
        .toUtf8();
}

} // namespace

// The built program run on real files, each case in a fresh current folder.
class XcopyRuns : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> tmp;
    QStringList mounts;
    const char *skipReason = nullptr; // why this machine cannot prepare the case

    // Mounts what COMMAND names on TARGET, for cleanup() to undo.
    void mount(const QString &target, const QStringList &command)
    {
        QDir().mkpath(target);
        if (geteuid() == 0 && run(command + QStringList{target}).first == 0)
            mounts.prepend(target);
        else
            skipReason = "needs root and a machine that allows mounts";
    }

    // Every entry below the current folder, mount points not entered.
    QMap<QByteArray, QByteArray> snapshot() const
    {
        namespace fs = std::filesystem;
        QMap<QByteArray, QByteArray> entries;
        fs::recursive_directory_iterator it(".", fs::directory_options::skip_permission_denied);
        for (; it != fs::end(it); ++it) {
            const QByteArray path = QByteArray::fromStdString(it->path().native()).mid(2);
            if (mounts.contains(path))
                it.disable_recursion_pending();
            entries[path] = describe(path);
        }
        return entries;
    }

    // The entries added, changed or removed since BEFORE, sorted.
    QByteArrayList changesSince(const QMap<QByteArray, QByteArray> &before) const
    {
        const QMap<QByteArray, QByteArray> after = snapshot();
        std::set<QByteArray> changed;
        for (const QByteArray &path : before.keys() + after.keys()) {
            if (before.value(path) != after.value(path))
                changed.insert(path);
        }
        return {changed.begin(), changed.end()};
    }

  private slots:
    void init()
    {
        umask(022);
        tmp.emplace();
        QVERIFY(QDir::setCurrent(tmp->path()));
        for (const char *file : {"src/.hidden.txt", "src/sub/deeper/c.txt", "src/.hiddendir/d.txt"})
            writeFile(file, file);
        writeFile("src/a.txt", "src/a.txt", {1590969600, 123456789});         // June 2020
        writeFile("src/sub/b.txt", "src/sub/b.txt", {1700000001, 700000000}); // November 2023
        // Empty folders, permission bits the umask lets through and some it takes away, and links
        // to a file and to a folder.
        QVERIFY(QDir().mkpath("src/sub/nothing") && QDir().mkpath("src/empty") &&
                chmod("src/a.txt", 0750) == 0 && chmod("src/sub/deeper/c.txt", 0757) == 0 &&
                symlink("../a.txt", "src/sub/link.txt") == 0 &&
                symlink("deeper", "src/sub/folder link") == 0);
    }

    // QTemporaryDir cannot remove names that are not UTF-8, nor folders without rights.
    void cleanup()
    {
        for (const QString &target : std::exchange(mounts, {}))
            run({"umount", "-l", target});
        chmod("src/locked", 0755);
        run({"rm", "-rf", tmp->path()});
        skipReason = nullptr;
    }

    // Each row runs a command on the tree init() made and PREPARE changed, and names every entry
    // of the current folder that the run added, changed or removed.
    void copies_data()
    {
        QTest::addColumn<Prepare>("prepare");
        QTest::addColumn<QString>("command"); // split at each blank
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArrayList>("output"); // each in the output; with "!" first, nowhere
        QTest::addColumn<QByteArrayList>("changes");
        const auto row = [](const QByteArray &name, const QString &command, int exitCode,
                            const QByteArrayList &output, const QByteArrayList &changes,
                            const Prepare &prepare = {}) {
            QTest::newRow(name) << prepare << command << exitCode << output << changes;
        };
        row("unknown switch", "xcopy src dst /Q9", 4, {"Invalid switch - /Q9\n"}, {});
        row("impossible date", "xcopy src dst /D:2-30-2026", 4, {"Invalid switch - /D:2-30"}, {});
        row("source only", "xcopy src", 4, {"source and a destination"}, {});
        row("missing source", "xcopy nowhere dst", 4, {"source - nowhere: No such file"}, {});
        row("source like a switch", "xcopy /S dst /Y", 4, {"source - /S: No such file"}, {});
        row("empty source", "xcopy  dst", 4, {"source path is empty"}, {});
        row("empty destination", "xcopy src ", 4, {"destination path is empty"}, {});
        row("usage among switches", "xcopy src dst /s /?", 0, {"xcopy SOURCE DESTINATION"}, {});
        const Prepare link = [] { QFile::link("src", "link"); };
        const Prepare bind = [this] { mount("bound", {"mount", "--bind", "src"}); };
        for (const QString to : {"src", "src/.", "src/sub", "src/new/deeper", "dst/../src/new",
                                 "missing/../src", "link/new", "bound/new", "bound/sub/new"}) {
            row("cyclic into " + to.toUtf8(), "xcopy src " + to + " /E /Y", 4,
                {"Cannot perform a cyclic copy"}, {}, to.startsWith("bound") ? bind : link);
        }

        const QByteArrayList top{"dst", "dst/a.txt"}, empty{"dst/empty", "dst/sub/nothing"};
        const QByteArrayList sub{"dst/sub", "dst/sub/b.txt", "dst/sub/deeper",
                                 "dst/sub/deeper/c.txt", "dst/sub/link.txt"};
        const QByteArrayList hidden{"dst/.hidden.txt", "dst/.hiddendir", "dst/.hiddendir/d.txt"};
        row("folder only", "xcopy src dst /Y /F", 0, {"src/a.txt -> dst/a.txt\n1 File(s)"}, top);
        row("subfolders", "xcopy src dst /S", 0, {"4 File(s) copied"}, top + sub);
        row("empty folders too", "xcopy src dst /E", 0, {"4 File(s) copied"}, top + sub + empty);
        row("hidden too", "xcopy src dst /S /H", 0, {"6 File(s) copied"}, top + hidden + sub);
        row("hidden top only", "xcopy src dst /H", 0, {"2 File(s) copied"},
            {"dst", "dst/.hidden.txt", "dst/a.txt"});
        row("changed since a date", "xcopy src dst /S /D:1-1-2021", 0, {"2 File(s) copied"},
            {"dst", "dst/sub", "dst/sub/b.txt", "dst/sub/deeper", "dst/sub/deeper/c.txt"});
        row("lower case", "xcopy src dst /e /h /y", 0, {"6 File(s) copied"},
            top + sub + empty + hidden);
        row("nothing found", "xcopy src dst /S /D:1-1-2100", 1, {"0 File(s) copied"}, {});
        row("quiet", "xcopy src dst /Q", 0, {"1 File(s) copied", "!a.txt"}, top);
        const Prepare old = [] { writeFile("dst/a.txt", "old"); };
        row("listing over a file", "xcopy src dst /L /E /H /Y", 0, {"6 File(s) copied"}, {}, old);
        row("kept without a terminal", "xcopy src dst /S", 0, {"3 File(s) copied"}, sub, old);
        row("kept with /-Y", "xcopy src dst /S /Y /-Y", 0, {"3 File(s) copied", "!Overwrite"}, sub,
            old);
        row("replaced with /Y", "xcopy src dst /S /Y", 0, {"4 File(s) copied"}, top.mid(1) + sub,
            old);

        // /D against a copy of src/sub/b.txt, which changed at 1700000001.7 s.
        const auto newer = [&](const char *name, timespec copy, bool copied) {
            row(name, "xcopy src dst /D /Y /S", 0, {}, top.mid(1) + sub.mid(copied ? 1 : 2),
                [copy] { writeFile("dst/sub/b.txt", "old", copy); }); // b.txt is second in SUB
        };
        newer("older by a millisecond", {1700000001, 699000000}, true);
        newer("same time", {1700000001, 700000000}, false);
        newer("newer", {1700000011, 700000000}, false);
        newer("edited 1.5 s after its copy", {1700000000, 200000000}, true);
        newer("whole second, older", {1700000001, 0}, true);

        const QByteArray failed = "env XCOPY_TEST_FAIL=";
        row("file flush before replacing", failed + "fdatasync xcopy+ src dst /Y", 5,
            {"Cannot write dst/a.txt: Input/output error"}, {}, old);
        row("no file flush for a new file", failed + "fdatasync xcopy+ src dst /Y /S", 5,
            {"3 File(s) copied"}, sub, old);
        row("file system flush at the end", failed + "syncfs xcopy+ src dst /Y", 5,
            {"Cannot flush dst: Input/output error"}, top.mid(1), old);
        row("a FIFO swapped in", "env XCOPY_TEST_FIFO_FOR=b.txt xcopy+ src dst /S", 5,
            {"Cannot read src/sub/b.txt: Not a regular file", "3 File(s) copied"},
            {"dst", "dst/a.txt", "dst/sub", "dst/sub/deeper", "dst/sub/deeper/c.txt",
             "dst/sub/link.txt", "src/sub/b.txt"});
        row("a file too large", "prlimit --fsize=65536 xcopy src dst /S /Y", 5,
            {"Cannot write dst/big: File too large"}, top.mid(1) + sub, [] {
                writeFile("src/big", QByteArray(1 << 20, 'x'));
                writeFile("dst/big", "old");
            });
        const Prepare unreadable = [] {
            writeFile("src/secret", "secret");
            QVERIFY(QDir().mkpath("src/locked") && chmod("src/locked", 0) == 0 &&
                    chmod("src/secret", 0) == 0 && symlink("nowhere", "src/broken") == 0);
            if (geteuid() == 0)
                run({"chown", "-R", "65534:65534", "."});
        };
        // Root reads everything, so then the program runs as "nobody".
        const QString asNobody =
            geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
        row("unreadable entries", asNobody + "xcopy src dst /S", 5,
            {"Cannot read src/secret: Permission denied",
             "Cannot read folder src/locked: Permission denied",
             "Cannot read src/broken: No such file or directory"},
            top + sub, unreadable);
        row("destination mounted inside the source", "xcopy src dst /E /Y", 0, {"4 File(s) copied"},
            top.mid(1) + sub + empty, [this] {
                QDir().mkpath("dst");
                mount("src/sub/deeper/inner", {"mount", "--bind", "dst"});
            });
        const QByteArray odd = "-rf;$HOME|cat&\"it's\"*",
                         odder = "line\nbreak, two words caf\xe9\xfe";
        row("awkward names", "xcopy " + odd + ' ' + odd + "-copy /S", 0,
            {odd + '/' + odder + '/' + odder + '\n'},
            {odd + "-copy", odd + "-copy/" + odder, odd + "-copy/" + odder + '/' + odder},
            [=] { writeFile(odd + '/' + odder + '/' + odder, "inner"); });
        // Folders wait for a thread in a bounded queue, each holding an open file.
        QByteArrayList wide{"dst"};
        for (int folder = 0; folder < 400; ++folder)
            wide << "dst/" + QByteArray::number(folder);
        row("a wide tree within 128 open files", "prlimit --nofile=128 xcopy wide dst /E", 1,
            {"0 File(s) copied"}, wide, [] {
                run({"bash", "-c", "mkdir -p wide/{0..399}"});
            });
    }

    void copies()
    {
        QFETCH(Prepare, prepare);
        QFETCH(QString, command);
        QFETCH(int, exitCode);
        QFETCH(QByteArrayList, output);
        QFETCH(QByteArrayList, changes);
        if (prepare)
            prepare();
        if (skipReason != nullptr)
            QSKIP(skipReason);
        const QMap<QByteArray, QByteArray> before = snapshot();
        const QStringList words = command.split(' ');
        const auto [exit, printed] = run(words);
        for (const QByteArray &text : output)
            QVERIFY2(printed.contains(text.mid(text.startsWith('!'))) != text.startsWith('!'),
                     printed);
        QCOMPARE(exit, exitCode);
        std::sort(changes.begin(), changes.end());
        QCOMPARE(changesSince(before).join('\n'), changes.join('\n'));
        // Each file copied is the source's, with its permission bits and time.
        const qsizetype program = std::max(words.indexOf("xcopy"), words.indexOf("xcopy+"));
        const QByteArray source = words.value(program + 1).toUtf8();
        const QByteArray destination = words.value(program + 2).toUtf8() + '/';
        for (const QByteArray &path : changes) {
            if (path.startsWith(destination))
                QCOMPARE(describe(path), describe(source + path.mid(destination.size() - 1)));
        }
    }

    // Each of four threads holds a complete temporary file when the interrupt comes.
    void interruptRemovesEveryTemporaryFile()
    {
        for (const QByteArray folder : {"0", "1", "2", "3", "4", "5", "6", "7"}) {
            writeFile("many/" + folder + "/new", "new");
            writeFile("dst/" + folder + "/new", "old");
        }
        const QMap<QByteArray, QByteArray> before = snapshot();
        QProcess process;
        process.start("env", {"XCOPY_TEST_HOLD=1", "XCOPY_THREADS=4", XCOPY_WITH_TEST_POINTS_PATH,
                              "many", "dst", "/S", "/Y"});
        QTRY_COMPARE_WITH_TIMEOUT(changesSince(before).size(), 4, 20000);
        process.terminate();
        QVERIFY(process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 2);
        QCOMPARE(changesSince(before), QByteArrayList());
    }

    // Threads list and report at once into one pipe, each line whole, a failing file once; a reader
    // that goes away before the end does not stop the copy.
    void thousandsOfFiles()
    {
        const QByteArray longName(100, 'n'), failing = "17/file5" + longName;
        QSet<QByteArray> expected{"", "2999 File(s) copied",
                                  "Cannot write copy/" + failing + ": Is a directory"};
        for (int file = 0; file < 3000; ++file) {
            const QByteArray name = QByteArray::number(file / 100) + "/file" +
                                    QByteArray::number(file % 100) + longName;
            writeFile("many/" + name, "x");
            if (name != failing)
                expected << "many/" + name + " -> copy/" + name;
        }
        QVERIFY(QDir().mkpath("copy/" + failing));
        const auto [exit, output] = run({"xcopy", "many", "copy", "/S", "/Y", "/F"});
        QCOMPARE(exit, 5);
        const QByteArrayList lines = output.split('\n');
        QCOMPARE(lines.size(), expected.size()); // none twice
        QCOMPARE(QSet<QByteArray>(lines.begin(), lines.end()), expected);
        const QString leaving =
            R"("$0" many again /S | head -n 1 >/dev/null; exit ${PIPESTATUS[0]})";
        QCOMPARE(run({"bash", "-c", leaving, "xcopy"}).first, 0);
        QCOMPARE(run({"diff", "-r", "many", "again"}).first, 0);
    }

    void sparseFileKeepsHoles()
    {
        const qint64 size = qint64(1) << 30;
        QFile file("sparse/file");
        QVERIFY(QDir().mkpath("sparse") && file.open(QIODevice::WriteOnly) && file.resize(size));
        QVERIFY(file.seek(size / 2) && file.write(QByteArray(4096, 'd')) == 4096 && file.flush());
        QCOMPARE(run({"xcopy", "sparse", "dst"}).first, 0);
        QCOMPARE(run({"cmp", "sparse/file", "dst/file"}).first, 0);
        struct stat source = {}, copy = {};
        QVERIFY(stat("sparse/file", &source) == 0 && stat("dst/file", &copy) == 0);
        QVERIFY2(copy.st_blocks <= source.st_blocks + 8, QByteArray::number(copy.st_blocks));
    }

    // A FAT stick keeps times in 2-second steps and stamps a renamed file with the time of day.
    void fatStickKeepsTimesAndCopiesOnlyChanges()
    {
        if (geteuid() != 0 || QStandardPaths::findExecutable("fusefat").isEmpty() ||
            QStandardPaths::findExecutable("mkfs.fat").isEmpty() || access("/dev/fuse", W_OK) != 0)
            QSKIP("needs root, /dev/fuse, fusefat and mkfs.fat");
        QCOMPARE(run({"mkfs.fat", "-C", "fat.img", "32768"}).first, 0);
        mount("fat", {"fusefat", "-o", "rw+", "fat.img"});
        if (skipReason != nullptr)
            QSKIP(skipReason);
        const QStringList copy{"xcopy", "src", "fat/dst", "/D", "/Y", "/S"};
        QVERIFY(run(copy).second.endsWith("\n4 File(s) copied\n"));
        // The source's time, an even second already; b.txt's odd one is kept within 2 s.
        QCOMPARE(describe("fat/dst/a.txt").split(' ').at(1), QByteArray("1590969600.0"));
        QCOMPARE(run(copy).second, QByteArray("0 File(s) copied\n"));
        writeFile("src/sub/b.txt", "changed", {1700000004, 500000000});
        QCOMPARE(run(copy).second, QByteArray("src/sub/b.txt\n1 File(s) copied\n"));
    }
};

QTEST_GUILESS_MAIN(XcopyRuns)
#include "tst_xcopy_runs.moc"
