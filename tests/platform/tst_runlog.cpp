// The run log on every system: where it is, what an entry says, when it starts anew, how much of a
// copy's output it keeps, that no entry of a run is ever dropped, and that two writing it at once
// lose nothing.
#include "platform/outputtranscript.h"
#include "platform/runlog.h"

#include <QDir>
#include <QLockFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <future>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An entry of exactly this size in the log, titled as given.
RunLogEntry entryOfSize(const QString &title, qsizetype size)
{
    RunLogEntry entry{title, {}, {}, {}, QStringLiteral("exit status 0.")};
    entry.output = QByteArray(size - formatEntry(entry).size() - 1, 'x') + '\n';
    return entry;
}

// The titles of the whole entries in the old part of the log, then in the log.
QStringList titles(const RunLog &log)
{
    static const QRegularExpression entry(QStringLiteral("^==== (.*)\\n(?:.*\\n)*?Ended .*\\n\\n"),
                                          QRegularExpression::MultilineOption);
    const QString text = QString::fromUtf8(contents(log.path() + ".1") + contents(log.path()));
    QStringList found;
    for (const auto &match : entry.globalMatch(text))
        found.append(match.captured(1));
    return found;
}

// Appends 1000 entries titled "LABEL n", of 3 KiB each, a millisecond apart, as copies end one
// after another; says why an entry could not be written.
QString writeEntries(const QString &path, const QString &label)
{
    const RunLog log(path);
    for (int n = 1; n <= 1000; ++n) {
        const Outcome appended = log.append(entryOfSize(label + ' ' + QString::number(n), 3072));
        if (!appended.ok())
            return appended.why();
        QThread::msleep(1);
    }
    return {};
}

} // namespace

class tst_RunLog : public QObject
{
    Q_OBJECT

  private slots:
    // In the user's state folder, in a log and folders the user alone may read.
    void keepsEntriesPrivatelyInTheStateFolder()
    {
#ifdef Q_OS_WIN
        QCOMPARE(RunLog::defaultPath(),
                 qEnvironmentVariable("LOCALAPPDATA") + "\\RevuredAVeze\\xcopy.log");
#else
        // $XDG_STATE_HOME, unless it is unset or relative, which it may not be.
        const char *const stateHomes[][2] = {
            {"/srv/state", "/srv/state"}, {"", "~/.local/state"}, {"state", "~/.local/state"}};
        for (const auto &[stateHome, folder] : stateHomes) {
            qputenv("XDG_STATE_HOME", stateHome);
            QCOMPARE(RunLog::defaultPath(),
                     QString(folder).replace('~', QDir::homePath()) + "/RevuredAVeze/xcopy.log");
        }
        qunsetenv("XDG_STATE_HOME");
#endif
        QTemporaryDir home;
        const RunLog log(home.filePath("state/RevuredAVeze/xcopy.log"));
        const QDateTime nine(QDate(2026, 3, 5), QTime(9, 0));
        QVERIFY(log.append({"Folder pair 1: xcopy", nine, "1 File(s) copied\n", nine.addSecs(3),
                            "exit status 0. The copy is done."})
                    .ok());
        QCOMPARE(contents(log.path()),
                 "==== Folder pair 1: xcopy\nStarted 2026-03-05 09:00:00\n1 File(s) copied\n"
                 "Ended 2026-03-05 09:00:03, exit status 0. The copy is done.\n\n");
#ifndef Q_OS_WIN
        for (const QString &made :
             {log.path(), home.filePath("state"), QFileInfo(log.path()).path()})
            QVERIFY(!(QFile::permissions(made) & (QFile::ReadGroup | QFile::ReadOther)));
#endif
    }

    // An entry goes into the log as long as the log has not reached its limit of 1 MiB, even
    // when it takes it past; the next entry starts a new log, and the full one replaces the old
    // part. Of a copy's output the log keeps the first lines, the failures between and the last
    // lines, and counts the lines left out, so that the seven copies of a run, each with more
    // output than that, never fill a log: none of them is dropped.
    void startsAnewAndLosesNoEntryOfARun()
    {
        OutputTranscript transcript(RunLog::kOutputBudget);
        for (int line = 1; line <= 200000; ++line)
            transcript.add("dst/folder/file " + QByteArray::number(line), line % 50 == 0);
        const QByteArray output = transcript.text();
        QVERIFY(output.size() <= RunLog::kOutputBudget + 64);
        QVERIFY(output.startsWith("dst/folder/file 1\n"));
        QVERIFY(output.contains("\ndst/folder/file 5000\n"));
        QVERIFY(output.endsWith("\ndst/folder/file 200000\n"));
        const QByteArray leftOut = QByteArray::number(200000 - output.count('\n') + 1);
        QVERIFY(output.contains("\n[" + leftOut + " lines of output left out here]\n"));

        constexpr qsizetype kMiB = 1 << 20;
        QTemporaryDir folder;
        const RunLog log(folder.filePath("xcopy.log"));
        QVERIFY(log.append(entryOfSize("below", kMiB - 100)).ok());
        QVERIFY(log.append(entryOfSize("past", 200)).ok());
        QStringList run;
        for (int pair = 1; pair <= 7; ++pair) {
            run.append(QStringLiteral("Folder pair %1").arg(pair));
            QVERIFY(log.append({run.last(), {}, output, {}, "exit status 0."}).ok());
        }
        // The run's first entry started the new log.
        QCOMPARE(titles(log), QStringList({"below", "past"}) + run);
        QVERIFY(contents(log.path()).startsWith("==== Folder pair 1\n"));

        QVERIFY(log.append(entryOfSize("exactly full", kMiB - contents(log.path()).size())).ok());
        QVERIFY(log.append(entryOfSize("newer", 100)).ok());
        QCOMPARE(titles(log), run + QStringList({"exactly full", "newer"}));
    }

    // A writer holds the log: the others wait until it is done. Two writing at once,
    // starting anew many times between them: every entry is whole, the old part is a full log,
    // and what remains of each one's entries follows on to its last one without a gap.
    void writersTakeTurns()
    {
        QTemporaryDir folder;
        const RunLog log(folder.filePath("xcopy.log"));
        QLockFile writing(log.path() + ".lock");
        QVERIFY(writing.tryLock(0));
        std::future<QString> first = std::async(std::launch::async, writeEntries, log.path(), "A");
        QCOMPARE(first.wait_for(std::chrono::seconds(1)), std::future_status::timeout);
        QVERIFY(!QFile::exists(log.path()));
        writing.unlock();
        std::future<QString> second = std::async(std::launch::async, writeEntries, log.path(), "B");
        QCOMPARE(first.get(), QString());
        QCOMPARE(second.get(), QString());
        const QStringList found = titles(log);
        QCOMPARE(contents(log.path() + ".1").count("==== ") + contents(log.path()).count("==== "),
                 found.size());
        QVERIFY(contents(log.path() + ".1").size() >= RunLog::kSizeLimit);
        for (const QString label : {"A ", "B "}) {
            const QStringList mine = found.filter(label);
            for (qsizetype n = 0; n < mine.size(); ++n) // the last of 1000, without a gap
                QCOMPARE(mine[n], label + QString::number(1000 - mine.size() + 1 + n));
        }
    }
};

QTEST_GUILESS_MAIN(tst_RunLog)
#include "tst_runlog.moc"
