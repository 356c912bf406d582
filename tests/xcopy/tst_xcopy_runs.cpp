#include "time_compare.h"

#include <QDir>
#include <QProcess>
#include <QSet>
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

// Runs COMMAND, a program and its arguments, in the current folder; "xcopy" stands for the built
// program and "xcopy+" for it with its test points, steered by the settings its source describes.
// Gives the exit code (-1 when it crashed or hung) and the output.
static std::pair<int, QByteArray> run(QStringList command)
{
    for (QString &word : command)
        word = word == "xcopy" ? XCOPY_PATH : word == "xcopy+" ? XCOPY_WITH_TEST_POINTS_PATH : word;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.takeFirst(), command);
    const bool ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    return {ok ? process.exitCode() : -1, process.readAll()};
}

// Writes the file and the folders it is in, with the modification time given or the current one.
static void writeFile(const QByteArray &path, const QByteArray &content,
                      timespec modified = {0, UTIME_NOW})
{
    std::filesystem::create_directories(std::filesystem::path(path.toStdString()).parent_path());
    const bool written = bool(std::ofstream(path.constData()) << content.toStdString());
    const timespec times[2] = {modified, modified};
    if (!written || utimensat(AT_FDCWD, path.constData(), times, 0) != 0)
        qFatal("cannot write %s", path.constData());
}

// What a copy keeps of what PATH leads to: type and permission bits, modification time (as the
// file system keeps it, past any cache of a FUSE file system), whether it has holes, and a file's
// content.
static QByteArray describe(const QByteArray &path)
{
    struct statx info = {};
    statx(AT_FDCWD, path.constData(), AT_STATX_FORCE_SYNC, STATX_BASIC_STATS, &info);
    if (S_ISDIR(info.stx_mode))
        return "folder"; // whose time changes as entries come and go
    std::string text = std::to_string(info.stx_mode) + ' ' + std::to_string(info.stx_mtime.tv_sec) +
                       '.' + std::to_string(info.stx_mtime.tv_nsec) +
                       (info.stx_blocks * 512 < info.stx_size ? " holes " : " ");
    std::ifstream file(S_ISREG(info.stx_mode) ? path.constData() : ""); // a FIFO would block
    text.append(std::istreambuf_iterator<char>(file), {});
    return QByteArray::fromStdString(text);
}

// The built program run on real files, each case in a fresh current folder, and the comparison of
// times behind /D.
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
            skipReason = "needs root and what mounts the case (mount, or fusefat and mkfs.fat)";
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
        // Hidden files, one with a name no shell or terminal takes as it is.
        for (const char *file :
             {"src/.\"it's\"\n$HOME caf\xe9", "src/sub/deeper/c.txt", "src/.hidden/d"})
            writeFile(file, file);
        writeFile("src/a.txt", "src/a.txt", {1590969600, 123456789});         // June 2020
        writeFile("src/sub/b.txt", "src/sub/b.txt", {1700000001, 700000000}); // November 2023
        // A sparse file: a hole, 4 KiB of data, a hole.
        QFile sparse("src/sparse");
        QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(1 << 20) &&
                sparse.seek(1 << 19) && sparse.write(QByteArray(4096, 'd')) == 4096);
        // Empty folders, permission bits the umask lets through and some it takes away, links to a
        // file and to a folder, and one to the whole source.
        QVERIFY(QDir().mkpath("src/sub/nothing") && QDir().mkpath("src/empty") &&
                chmod("src/a.txt", 0750) == 0 && chmod("src/sub/deeper/c.txt", 0757) == 0 &&
                symlink("../a.txt", "src/sub/link.txt") == 0 &&
                symlink("deeper", "src/sub/folder link") == 0 && symlink("src", "link") == 0);
    }

    // QTemporaryDir cannot remove names that are not UTF-8, nor folders without rights.
    void cleanup()
    {
        for (const QString &target : std::exchange(mounts, {}))
            run({"umount", "-l", target});
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
        row("switch-like source", "xcopy /S dst /Y", 4, {"source - /S: No such file"}, {});
        row("empty source", "xcopy  dst", 4, {"source path is empty"}, {});
        row("empty destination", "xcopy src ", 4, {"destination path is empty"}, {});
        row("usage among switches", "xcopy src dst /s /?", 0, {"xcopy SOURCE DESTINATION"}, {});
        const Prepare bind = [this] { mount("bound", {"mount", "--bind", "src"}); };
        for (const QString to : {"src", "src/.", "src/sub", "src/new/deeper", "dst/../src/new",
                                 "missing/../src", "link/new", "bound/new", "bound/sub/new"})
            row("cyclic into " + to.toUtf8(), "xcopy src " + to + " /E /Y", 4,
                {"Cannot perform a cyclic copy"}, {}, to.startsWith("bound") ? bind : Prepare());

        const QByteArrayList top{"dst", "dst/sparse", "dst/a.txt"};
        const QByteArrayList empty{"dst/empty", "dst/sub/nothing"};
        const QByteArrayList sub{"dst/sub", "dst/sub/b.txt", "dst/sub/deeper",
                                 "dst/sub/deeper/c.txt", "dst/sub/link.txt"};
        const QByteArrayList hidden{"dst/.\"it's\"\n$HOME caf\xe9", "dst/.hidden", "dst/.hidden/d"};
        row("quiet", "xcopy src dst /S /Q /F", 0, {"5 File(s) copied", "!src/"}, top + sub);
        const Prepare old = [] { writeFile("dst/a.txt", "old"); };
        row("all, in lower case, over a file", "xcopy src dst /e /h /y", 0, {"7 File(s) copied"},
            top.mid(1) + sub + empty + hidden, old);
        // a.txt, and the link to it, date from 2020.
        row("changed since a date", "xcopy src dst /S /D:1-1-2021", 0,
            {"src/sub/b.txt\n", "3 File(s) copied"}, top.mid(0, 2) + sub.mid(0, 4));
        row("nothing found", "xcopy src dst /S /D:1-1-2100", 1, {"0 File(s) copied"}, {});
        row("listing over a file", "xcopy src dst /L /E /H /Y", 0, {"7 File(s) copied"}, {}, old);
        // Without a terminal nobody can answer the question /-Y asks.
        row("kept with /-Y", "xcopy src dst /S /Y /-Y", 0, {"4 File(s) copied", "!Overwrite"},
            top.mid(1, 1) + sub, old);

        // On a destination that keeps nanoseconds, /D copies a.txt, older there by a millisecond,
        // and keeps b.txt, newer there.
        row("only older files with /D", "xcopy src dst /D /Y /S", 0, {"4 File(s) copied"},
            top.mid(1) + sub.mid(2), [] {
                writeFile("dst/a.txt", "old", {1590969600, 122456789});
                writeFile("dst/sub/b.txt", "old", {1700000011, 700000000});
            });

        // Each file replaced is flushed first, and the file system once at the end.
        row("failing flushes", "env XCOPY_TEST_FAIL=flushes xcopy+ src dst /Y /S", 5,
            {"Cannot write dst/a.txt: Input/output", "Cannot flush dst: Input", "4 File(s) copied"},
            top.mid(1, 1) + sub, old);
        row("a FIFO swapped in", "env XCOPY_TEST_FIFO_FOR=b.txt xcopy+ src dst /S", 5,
            {"Cannot read src/sub/b.txt: Not a regular file", "4 File(s) copied"},
            top + sub.mid(2) + QByteArrayList{"dst/sub", "src/sub/b.txt"});
        row("a file too large", "prlimit --fsize=65536 xcopy src dst", 5,
            {"Cannot write dst/sparse: File too large"}, {"dst", "dst/a.txt"});
        // Root reads everything, so the program runs without its privileges.
        row("unreadable entries", "setpriv --bounding-set=-all xcopy src dst /S", 5,
            {"Cannot read folder src/locked: Permission", "Cannot read src/broken: No such file"},
            top + sub, [] {
                QVERIFY(QDir().mkpath("src/locked") && chmod("src/locked", 0) == 0 &&
                        symlink("nowhere", "src/broken") == 0);
            });
        row("destination mounted inside the source", "xcopy src dst /E /Y", 0, {"5 File(s) copied"},
            top.mid(1) + sub + empty, [this] {
                QDir().mkpath("dst");
                mount("src/sub/deeper/inner", {"mount", "--bind", "dst"});
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
        const auto [exit, printed] = run(command.split(' '));
        for (const QByteArray &text : output)
            QVERIFY2(printed.contains(text.mid(text.startsWith('!'))) != text.startsWith('!'),
                     printed);
        QCOMPARE(exit, exitCode);
        std::sort(changes.begin(), changes.end());
        QCOMPARE(changesSince(before).join('\n'), changes.join('\n'));
        // Each file copied is the source's, with its permission bits, time, holes and content.
        for (const QByteArray &path : changes) {
            if (path.startsWith("dst/"))
                QCOMPARE(describe(path), describe("src/" + path.mid(4)));
        }
    }

    // A wide tree of many files: threads list and report at once into one pipe, each line whole, a
    // failing file once, and hold few folders open; a reader that goes away before the end does
    // not stop the copy; an interrupt removes the temporary file each of four threads holds.
    void manyFiles()
    {
        const QByteArray longName(200, 'n'), failing = "17/file2" + longName;
        QSet<QByteArray> expected{"", "1199 File(s) copied",
                                  "Cannot write copy/" + failing + ": Is a directory"};
        for (int file = 0; file < 1200; ++file) {
            const QByteArray name =
                QByteArray::number(file / 3) + "/file" + QByteArray::number(file % 3) + longName;
            writeFile("many/" + name, "x");
            if (name != failing)
                expected << "many/" + name + " -> copy/" + name;
        }
        QVERIFY(QDir().mkpath("copy/" + failing));
        const auto [exit, output] =
            run({"prlimit", "--nofile=128", "xcopy", "many", "copy", "/S", "/Y", "/F"});
        QCOMPARE(exit, 5);
        const QByteArrayList lines = output.split('\n');
        QCOMPARE(lines.size(), expected.size()); // none twice
        QCOMPARE(QSet<QByteArray>(lines.begin(), lines.end()), expected);
        const QString leaving = R"("$0" many again /S | head -1 >/dev/null; exit ${PIPESTATUS[0]})";
        QCOMPARE(run({"bash", "-c", leaving, "xcopy"}).first, 0);

        const QMap<QByteArray, QByteArray> before = snapshot();
        QProcess process;
        process.start("env", {"XCOPY_TEST_HOLD=1", "XCOPY_THREADS=4", XCOPY_WITH_TEST_POINTS_PATH,
                              "many", "again", "/S", "/Y"});
        QTRY_COMPARE_WITH_TIMEOUT(changesSince(before).size(), 4, 20000);
        process.terminate();
        QVERIFY(process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 2);
        QCOMPARE(changesSince(before), QByteArrayList());
    }

    // A FAT stick keeps times in 2-second steps and stamps a renamed file with the time of day;
    // through FUSE it cannot truncate, so a sparse file lands on it whole.
    void fatStickKeepsTimesAndCopiesOnlyChanges()
    {
        run({"mkfs.fat", "-C", "fat.img", "32768"});
        mount("fat", {"fusefat", "-o", "rw+", "fat.img"});
        if (skipReason != nullptr)
            QSKIP(skipReason);
        const QStringList copy{"xcopy", "src", "fat/dst", "/D", "/Y", "/S"};
        QVERIFY(run(copy).second.endsWith("\n5 File(s) copied\n"));
        QCOMPARE(describe("fat/dst/sparse").split(' ').last(),
                 describe("src/sparse").split(' ').last());
        // The source's time, an even second already; b.txt's odd one is kept within 2 s.
        QCOMPARE(describe("fat/dst/a.txt").split(' ').at(1), QByteArray("1590969600.0"));
        QCOMPARE(run(copy).second, QByteArray("0 File(s) copied\n"));
    }

    // /D copies only files older by more than the step the destination keeps times in, known from
    // the type of its file system or from the time it kept of a probe file; the file systems with
    // coarse steps cannot be mounted here.
    void timeSteps()
    {
        const long long fat = timeResolutionOfFileSystem(0x4d44);
        const long long exfat = timeResolutionOfFileSystem(0x2011BAB0);
        const long long ntfs = timeResolutionOfFileSystem(0x5346544e);
        QCOMPARE(destinationIsOlder({1002, 0}, {1000, 0}, fat), false);
        QCOMPARE(destinationIsOlder({1002, 500000000}, {1000, 0}, fat), true);
        QCOMPARE(destinationIsOlder({1002, 500000000}, {1000, 600000000}, exfat), false);
        QCOMPARE(destinationIsOlder({1000, 150}, {1000, 100}, ntfs), false);
        QCOMPARE(destinationIsOlder({1000, 300}, {1000, 100}, ntfs), true);
        const auto probed = [](timespec kept) { return timeResolutionFromProbe(kept).value_or(0); };
        QCOMPARE(probed({1000000001, 123456789}), 1LL);
        QCOMPARE(probed({1000000001, 0}), 1000000000LL);
        QCOMPARE(probed({1000000000, 0}), 2000000000LL); // the odd second cut to an even one
        QCOMPARE(probed({999999998, 0}), 0LL);           // 4 s away
    }
};

QTEST_GUILESS_MAIN(XcopyRuns)
#include "tst_xcopy_runs.moc"
