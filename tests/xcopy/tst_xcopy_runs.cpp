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
#include <sys/stat.h>
#include <tuple>
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

// Writes the file, its path as its content, and the folders it is in, with the modification time
// given or the current one.
static bool writeFile(const QByteArray &path, timespec modified = {0, UTIME_NOW})
{
    std::filesystem::create_directories(std::filesystem::path(path.toStdString()).parent_path());
    const bool written = bool(std::ofstream(path.constData()) << path.toStdString());
    const timespec times[2] = {modified, modified};
    return written && utimensat(AT_FDCWD, path.constData(), times, 0) == 0;
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

    QTemporaryDir tmp; // removed after each case and made again for the next
    QStringList mounts;
    const char *skipReason = nullptr; // why this machine cannot prepare the case

    // Mounts what COMMAND names on TARGET, for cleanup() to undo (or try to, where it failed).
    void mount(const QString &target, const QStringList &command)
    {
        mounts.prepend(target);
        if (!QDir().mkpath(target) || geteuid() != 0 || run(command + QStringList{target}).first)
            skipReason = "needs root and what mounts the case (mount and loop devices, or fusefat "
                         "and mkfs.fat)";
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
        QMap<QByteArray, bool> changed;
        for (const QByteArray &path : before.keys() + after.keys())
            changed[path] = before.value(path) != after.value(path);
        return changed.keys(true);
    }

  private slots:
    void init()
    {
        umask(022);
        // A hidden folder, with a name in it that no shell or terminal takes as it is; files from
        // June 2020 and November 2023; a sparse file: a hole, 4 KiB of data, a hole; empty folders,
        // permission bits the umask lets through and some it takes away, links to a file and to a
        // folder, and one to the whole source.
        QFile sparse("src/sparse");
        QVERIFY(QDir().mkpath(tmp.path()) && QDir::setCurrent(tmp.path()) &&
                writeFile("src/sub/deeper/c.txt") &&
                writeFile("src/.hidden/\"it's\"\n$HOME caf\xe9") &&
                writeFile("src/a.txt", {1590969600, 123456789}) &&
                writeFile("src/sub/b.txt", {1700000001, 700000000}) &&
                sparse.open(QIODevice::WriteOnly) && sparse.resize(1 << 20) &&
                sparse.seek(1 << 19) && sparse.write(QByteArray(4096, 'd')) == 4096 &&
                QDir().mkpath("src/sub/nothing") && QDir().mkpath("src/empty") &&
                chmod("src/a.txt", 0750) == 0 && chmod("src/sub/deeper/c.txt", 0757) == 0 &&
                symlink("../a.txt", "src/sub/link.txt") == 0 &&
                symlink("deeper", "src/sub/folder link") == 0 && symlink("src", "link") == 0);
    }

    // QTemporaryDir cannot remove names that are not UTF-8, nor folders without rights.
    void cleanup()
    {
        run(QStringList{"umount", "-l"} + std::exchange(mounts, {}));
        run({"rm", "-rf", tmp.path()});
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
        row("impossible date", "xcopy src dst /D:2-30-2026", 4, {"Invalid switch - /D:2-30"}, {});
        row("unknown switch", "xcopy src dst /Q9", 4, {"Invalid switch - /Q9"}, {});
        row("switch-like source", "xcopy /S dst /Y", 4, {"source - /S: No such file"}, {});
        row("empty destination", "xcopy src ", 4, {"destination path is empty"}, {});
        row("usage among switches", "xcopy src dst /s /?", 0, {"xcopy SOURCE DESTINATION"}, {});
        // A source folder, or the destination, seen elsewhere through a bind mount.
        const QMap<QString, Prepare> binds{
            {"bound", [this] { mount("bound", {"mount", "--bind", "src"}); }},
            {"subbound", [this] { mount("subbound", {"mount", "--bind", "src/sub"}); }},
            {"outside", [this] {
                 QVERIFY(QDir().mkpath("outside"));
                 mount("src/sub/deeper/in", {"mount", "--bind", "outside"});
             }}};
        for (const QString to : {"src/.", "src/sub", "missing/../src", "link/new", "bound/sub/new",
                                 "subbound", "subbound/new", "outside"})
            row("cyclic into " + to.toUtf8(), "xcopy src " + to + " /E /Y", 4,
                {"Cannot perform a cyclic copy"}, {}, binds.value(to.section('/', 0, 0)));
        row("cyclic without /S", "xcopy src bound/new /Y", 4, {"Cannot perform a cyclic copy"}, {},
            binds.value("bound"));

        const QByteArrayList top{"dst", "dst/sparse", "dst/a.txt"};
        const QByteArrayList empty{"dst/empty", "dst/sub/nothing"};
        const QByteArrayList sub{"dst/sub", "dst/sub/b.txt", "dst/sub/deeper",
                                 "dst/sub/deeper/c.txt", "dst/sub/link.txt"};
        const QByteArrayList hidden{"dst/.hidden", "dst/.hidden/\"it's\"\n$HOME caf\xe9"};
        // Older than its source by a millisecond, which a destination keeping nanoseconds shows.
        const Prepare old = [] { QVERIFY(writeFile("dst/a.txt", {1590969600, 122456789})); };
        row("all older, in lower case", "xcopy src dst /e /h /y /d", 0, {"6 File(s) copied"},
            top.mid(1) + sub + empty + hidden, old);
        // a.txt, and the link to it, date from 2020.
        row("changed since a date", "xcopy src dst /S /D:1-1-2021", 0,
            {"src/sub/b.txt\n", "3 File(s) copied"}, top.mid(0, 2) + sub.mid(0, 4));
        row("nothing found", "xcopy src dst /S /D:1-1-2100", 1, {"0 File(s) copied"}, {});
        // Without a terminal nobody can answer the question /-Y asks, and the file is kept.
        row("listing, and kept with /-Y", "xcopy src dst /L /E /H /Y /-Y", 0,
            {"5 File(s) copied", "!Overwrite"}, {}, old);
        // Each failure is reported, even with /Q, and the rest copied: the file replaced is flushed
        // before the old one goes, and the file system at the end (the test build's flushes fail),
        // and new files keep an older time while their data may not be on the disk; a FIFO swapped
        // in for a file is refused; a file that grows past the size limit fails its write instead
        // of ending the program. Unnamed or named (as on a FAT stick), a failure leaves nothing.
        for (const QString named : {"0", "1"})
            row("failures, quietly, named " + named.toUtf8(),
                "prlimit --fsize=65536 env XCOPY_TEST_FLUSH=fail XCOPY_TEST_FIFO_FOR=b.txt "
                "XCOPY_TEST_NAMED=" + named + " xcopy+ src dst /Y /S /Q",
                5,
                {"Cannot write dst/a.txt: Input/output", "Cannot write dst/sparse: File too large",
                 "Cannot read src/sub/b.txt: Not a regular file", "Cannot flush dst: Input",
                 "2 File(s) copied", "!src/sub/deeper"},
                {"dst/sub", "dst/sub/deeper", "~dst/sub/deeper/c.txt", "~dst/sub/link.txt",
                 "src/sub/b.txt"},
                old);
        // A link in the destination where the source has a folder or a file is left alone: the
        // copy writes nothing through it, into the source here.
        row("links in the destination", "xcopy src dst /D /Y /S", 5,
            {"Cannot write dst/sub: A link, which is not followed",
             "Cannot write dst/a.txt: A link, which is not followed", "1 File(s) copied"},
            {"dst/sparse"}, [] {
                QVERIFY(QDir().mkpath("dst") && symlink("../src", "dst/sub") == 0 &&
                        symlink("../src/sub/b.txt", "dst/a.txt") == 0);
            });
        // Root reads everything, so the program runs without its privileges.
        row("unreadable entries", "setpriv --bounding-set=-all xcopy src dst /S", 5,
            {"Cannot read folder src/locked: Permission", "Cannot read src/broken: No such file"},
            top + sub,
            [] { QVERIFY(mkdir("src/locked", 0) == 0 && symlink("nowhere", "src/broken") == 0); });
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
        const auto [exit, said] = run(command.split(' '));
        for (const QByteArray &text : output)
            QVERIFY2(said.contains(text.mid(text.startsWith('!'))) != text.startsWith('!'), said);
        QCOMPARE(exit, exitCode);
        QByteArrayList paths;
        for (const QByteArray &change : changes)
            paths << change.mid(change.startsWith('~'));
        std::sort(paths.begin(), paths.end());
        QCOMPARE(changesSince(before).join('\n'), paths.join('\n'));
        // Each file copied is the source's, with its permission bits, time, holes and content, but
        // one marked "~" has an older time, which /D copies again; a source changed by the run
        // (src/ is as long as dst/) is compared with itself.
        for (const QByteArray &change : changes) {
            const QByteArray path = change.mid(change.startsWith('~'));
            QByteArrayList copy = describe(path).split(' ');
            const QByteArrayList source = describe("src/" + path.mid(4)).split(' ');
            if (change.startsWith('~'))
                copy[1] = copy[1].toDouble() < source[1].toDouble() ? source[1] : "not older";
            QCOMPARE(copy.join(' '), source.join(' '));
        }
    }

    // A wide tree of many files: threads list and report at once into one pipe, each line whole, a
    // failing file once, and hold few folders open; a reader that goes away before the end does
    // not stop the copy; an interrupt removes the temporary file each of four threads holds.
    void manyFiles()
    {
        const QByteArray longName = '/' + QByteArray(200, 'n');
        QSet<QByteArray> expected{"", "1199 File(s) copied"};
        for (int i = 0; i < 1200; ++i) {
            const QByteArray name = QByteArray::number(i / 3) + longName + QByteArray::number(i);
            // One file finds a folder in its place.
            QVERIFY(writeFile("many/" + name) && (i != 53 || QDir().mkpath("copy/" + name)));
            expected << (i == 53 ? "Cannot write copy/" + name + ": Is a directory"
                                 : "many/" + name + " -> copy/" + name);
        }
        const auto [exit, output] =
            run({"prlimit", "--nofile=128", "xcopy", "many", "copy", "/S", "/Y", "/F"});
        QCOMPARE(exit, 5);
        const QByteArrayList lines = output.split('\n');
        QCOMPARE(lines.size(), expected.size()); // none twice
        QCOMPARE(QSet<QByteArray>(lines.begin(), lines.end()), expected);
        // With every flush failing, no new file gets its source's time, also in the batches
        // flushed while the copy goes on: a /D listing still names them all.
        const QStringList unflushed{"env", "XCOPY_TEST_FLUSH=fail", "xcopy+", "many", "unflushed"};
        QCOMPARE(run(unflushed + QStringList{"/S"}).first, 5);
        QCOMPARE(run({"xcopy", "many", "unflushed", "/S", "/D", "/Y", "/L", "/Q"}).second,
                 QByteArray("1200 File(s) copied\n"));
        const QString leaving = R"("$0" many again /S | head -1 >/dev/null; exit ${PIPESTATUS[0]})";
        QCOMPARE(run({"bash", "-c", leaving, "xcopy"}).first, 0);

        const QMap<QByteArray, QByteArray> before = snapshot();
        QProcess process;
        process.start("env", {"XCOPY_TEST_HOLD=filled", "XCOPY_TEST_NAMED=1", "XCOPY_THREADS=4",
                              XCOPY_WITH_TEST_POINTS_PATH, "many", "again", "/S", "/Y"});
        QTRY_COMPARE_WITH_TIMEOUT(changesSince(before).size(), 4, 20000);
        process.terminate();
        // Killed by the signal instead, it would end with the signal's number, 15.
        QCOMPARE(process.waitForFinished(20000) ? process.exitCode() : -1, 2);
        QCOMPARE(changesSince(before), QByteArrayList());
    }

    // A power cut while new files are copied, whatever it catches unflushed, loses nothing for
    // good: the next /D run copies again each file the cut left incomplete. The cut is a copy of a
    // loop-mounted disk image taken while the run is held before its first flush, once the file
    // system's journal (committed every second) holds the new names; mounted, the copy replays it.
    void powerCut()
    {
        for (int i = 0; i < 40; ++i)
            QVERIFY(writeFile("burst/" + QByteArray::number(i), {1600000000 + i, 0}));
        run({"truncate", "-s", "64M", "disk.img"});
        run({"mkfs.ext4", "-q", "disk.img"});
        mount("disk", {"mount", "-o", "loop,commit=1", "disk.img"});
        if (skipReason != nullptr)
            QSKIP(skipReason);
        QProcess held;
        held.setReadChannel(QProcess::StandardError);
        held.start("env", {"XCOPY_TEST_HOLD=flush", XCOPY_WITH_TEST_POINTS_PATH, "burst",
                           "disk/copy", "/D", "/Y"});
        QVERIFY(held.waitForReadyRead(20000) && held.readAllStandardError() == "Held\n");
        QTest::qWait(3000);
        QCOMPARE(run({"cp", "--sparse=always", "disk.img", "cut.img"}).first, 0);
        held.kill();
        held.waitForFinished();
        mount("cut", {"mount", "-o", "loop", "cut.img"});
        QVERIFY(skipReason == nullptr);
        QCOMPARE(run({"xcopy", "burst", "cut/copy", "/D", "/Y"}).first, 0);
        for (int i = 0; i < 40; ++i)
            QCOMPARE(describe("cut/copy/" + QByteArray::number(i)),
                     describe("burst/" + QByteArray::number(i)));
    }

    // A file that another program puts in the place of a new copy before the copy gives it its
    // source's time keeps its own.
    void renewedBeforeItsTime()
    {
        QVERIFY(writeFile("one/file", {1600000000, 0}));
        QCOMPARE(run({"env", "XCOPY_TEST_RENEW_FOR=file", "xcopy+", "one", "dst"}).first, 0);
        QCOMPARE(describe("dst/file").split(' ').at(2), QByteArray()); // the new file, empty
        QVERIFY(!describe("dst/file").contains(" 1600000000.0 "));
    }

    // A copy killed while it replaces a file leaves no temporary file behind (unnamed), or one
    // that the next run into that folder removes (named, as on a FAT stick); that run completes
    // the file. Temporary files of a copy still running, and names not of this program, stay.
    void killedReplacement()
    {
        // Unnamed, named, and named with a single file as the source.
        for (const auto &[named, leftAtKill, source] :
             {std::tuple("0", 0, "one"), std::tuple("1", 1, "one"),
              std::tuple("1", 1, "one/file")}) {
            cleanup();
            init();
            const QByteArray running = ".xcopy-" + QByteArray::number(getpid()) + "-1.tmp";
            QVERIFY(writeFile("one/file") && writeFile("dst/file", {1600000000, 0}) &&
                    writeFile("dst/" + running) && writeFile("dst/.xcopy-99999999.tmp"));
            QProcess held;
            held.setReadChannel(QProcess::StandardError);
            held.start("env", {"XCOPY_TEST_HOLD=filled", "XCOPY_TEST_NAMED=" + QString(named),
                               XCOPY_WITH_TEST_POINTS_PATH, source, "dst", "/D", "/Y"});
            QVERIFY(held.waitForReadyRead(20000) && held.readAllStandardError() == "Held\n");
            held.kill();
            held.waitForFinished();
            QStringList others{".xcopy-99999999.tmp", running, "file"};
            others.sort();
            const QStringList atKill = QDir("dst").entryList(QDir::Files | QDir::Hidden);
            QCOMPARE(atKill.size(), others.size() + leftAtKill);
            QCOMPARE(run({"xcopy", source, "dst", "/D", "/Y"}).first, 0);
            QCOMPARE(QDir("dst").entryList(QDir::Files | QDir::Hidden), others);
            QCOMPARE(describe("dst/file"), describe("one/file"));
        }
    }

    // A FAT stick keeps times in 2-second steps and stamps a renamed file with the time of day;
    // through FUSE it cannot truncate, so a sparse file lands on it whole.
    void fatStickKeepsTimesAndCopiesOnlyChanges()
    {
        run({"mkfs.fat", "-C", "fat.img", "32768"});
        mount("fat", {"fusefat", "-o", "rw+", "fat.img"});
        if (skipReason != nullptr)
            QSKIP(skipReason);
        const QStringList copy{"xcopy", "src", "fat", "/D", "/Y", "/S"};
        QVERIFY(run(copy).second.endsWith("\n5 File(s) copied\n"));
        QVERIFY(describe("fat/sparse").endsWith(describe("src/sparse").right(1 << 20)));
        // The source's time, an even second already; b.txt's odd one is kept within 2 s.
        QCOMPARE(describe("fat/a.txt").split(' ').at(1), QByteArray("1590969600.0"));
        QCOMPARE(run(copy).second, QByteArray("0 File(s) copied\n"));
        // A copy grown old is replaced, and the replacement keeps the source's time too.
        const timespec older[2] = {{1500000000, 0}, {1500000000, 0}};
        QVERIFY(utimensat(AT_FDCWD, "fat/a.txt", older, 0) == 0);
        QCOMPARE(run(copy).second, QByteArray("src/a.txt\n1 File(s) copied\n"));
        QCOMPARE(describe("fat/a.txt").split(' ').at(1), QByteArray("1590969600.0"));
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
        // A destination as new as its source, or newer, near or far, is never replaced.
        for (const long long step : {1LL, ntfs, fat}) {
            for (const timespec newer : {timespec{1000, 0}, timespec{1000, 1}, timespec{1003, 0},
                                         timespec{1004, 0}, timespec{999000, 0}})
                QVERIFY(!destinationIsOlder({1000, 0}, newer, step));
        }
        QVERIFY(destinationIsOlder({5000, 0}, {1000, 0}, 1));
        QCOMPARE(timeResolutionFromProbe({1000000001, 123456789}).value_or(0), 1LL);
        QCOMPARE(timeResolutionFromProbe({1000000001, 123456700}).value_or(0), 100LL);
        QCOMPARE(timeResolutionFromProbe({1000000001, 0}).value_or(0), 1000000000LL);
        QCOMPARE(timeResolutionFromProbe({1000000002, 0}).value_or(0), 2000000000LL);
        QCOMPARE(timeResolutionFromProbe({999999998, 0}).value_or(0), 0LL); // 4 s away
    }
};

QTEST_GUILESS_MAIN(XcopyRuns)
#include "tst_xcopy_runs.moc"
