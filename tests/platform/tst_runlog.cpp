// What the run log keeps of each copy, where it lies, and the words for a copy's ending.
#include "platform/copyending.h"
#include "platform/outputtranscript.h"
#include "platform/runlog.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class tst_RunLog : public QObject
{
    Q_OBJECT

  private slots:
    void endingsInWords_data();
    void endingsInWords();
    void liesInTheStateFolder_data();
    void liesInTheStateFolder();
    void entryHoldsTimesOutputAndOutcome();
    void foldersAndLogAreTheUsersAlone();
    void oldPartMovesAsideAtTheLimit_data();
    void oldPartMovesAsideAtTheLimit();
    void longOutputKeepsItsEndsAndFailures();
};

void tst_RunLog::endingsInWords_data()
{
    QTest::addColumn<bool>("bySignal");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("failureLines");
    QTest::addColumn<QString>("firstFailure");
    QTest::addColumn<QString>("words");

    QTest::newRow("one file failed") << false << 5 << 1 << "Cannot read /a: Permission denied"
                                     << "The copy ended with errors: 1 file could not be copied.";
    QTest::newRow("refused, missing source")
        << false << 4 << 1 << "Cannot find the source - /a: No such file or directory"
        << "The copy was refused: Cannot find the source - /a: No such file or directory";
    QTest::newRow("refused without a word") << false << 4 << 0 << ""
                                            << "The copy was refused.";
    QTest::newRow("unknown status") << false << 3 << 0 << ""
                                    << "The copy ended with the unknown exit status 3.";
    QTest::newRow("a crash") << true << 11 << 0 << ""
                             << "The copy was stopped by signal 11 (Segmentation fault).";
}

void tst_RunLog::endingsInWords()
{
    QFETCH(bool, bySignal);
    QFETCH(int, code);
    QFETCH(int, failureLines);
    QFETCH(QString, firstFailure);
    QFETCH(QString, words);

    const CopyEnding ending{bySignal, code, failureLines, firstFailure};
    QCOMPARE(endingWords(ending), words);
    QVERIFY(!endedWell(ending));
}

void tst_RunLog::liesInTheStateFolder_data()
{
    QTest::addColumn<QString>("stateHome");
    QTest::addColumn<QString>("path"); // ~ for the home folder

    QTest::newRow("state home given") << "/srv/state"
                                      << "/srv/state/RevuredAVeze/xcopy.log";
    QTest::newRow("none given") << ""
                                << "~/.local/state/RevuredAVeze/xcopy.log";
    QTest::newRow("relative, ignored") << "state"
                                       << "~/.local/state/RevuredAVeze/xcopy.log";
}

void tst_RunLog::liesInTheStateFolder()
{
    QFETCH(QString, stateHome);
    QFETCH(QString, path);

    qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome));
    QCOMPARE(RunLog::defaultPath(), path.replace(QLatin1Char('~'), QDir::homePath()));
    qunsetenv("XDG_STATE_HOME");
}

void tst_RunLog::entryHoldsTimesOutputAndOutcome()
{
    const QDate day(2026, 3, 5);
    QCOMPARE(formatEntry({QStringLiteral("Folder pair 1: xcopy \"/a\" \"/b\" /D /Y /S"),
                          {day, QTime(9, 0)},
                          "/a/x\n1 File(s) copied\n",
                          {day, QTime(9, 0, 3)},
                          QStringLiteral("exit status 0. The copy is done.")}),
             "==== Folder pair 1: xcopy \"/a\" \"/b\" /D /Y /S\nStarted 2026-03-05 09:00:00\n/a/x\n"
             "1 File(s) copied\nEnded 2026-03-05 09:00:03, exit status 0. The copy is done.\n\n");
}

void tst_RunLog::foldersAndLogAreTheUsersAlone()
{
    QTemporaryDir home;
    const RunLog log(home.filePath(QStringLiteral(".local/state/RevuredAVeze/xcopy.log")));
    QCOMPARE(log.append({QStringLiteral("xcopy"), {}, "1 File(s) copied\n", {}, {}}), QString());

    const auto mode = [](const QString &path) {
        struct stat info = {};
        stat(QFile::encodeName(path).constData(), &info);
        return info.st_mode & 07777;
    };
    for (const char *made : {".local", ".local/state", ".local/state/RevuredAVeze"})
        QCOMPARE(mode(home.filePath(made)), mode_t(0700));
    QCOMPARE(mode(log.path()), mode_t(0600));
}

void tst_RunLog::oldPartMovesAsideAtTheLimit_data()
{
    QTest::addColumn<qint64>("room"); // what the log lacks of its limit before the entry
    QTest::addColumn<bool>("movedAside");

    const qint64 entrySize = formatEntry({QStringLiteral("new"), {}, {}, {}, {}}).size();
    QTest::newRow("fits exactly") << entrySize << false;
    QTest::newRow("one byte too many") << entrySize - 1 << true;
}

void tst_RunLog::oldPartMovesAsideAtTheLimit()
{
    QFETCH(qint64, room);
    QFETCH(bool, movedAside);
    QTemporaryDir folder;
    const RunLog log(folder.filePath(QStringLiteral("xcopy.log")));
    QFile(log.path() + QStringLiteral(".1")).open(QIODevice::WriteOnly); // an older part, replaced
    QFile old(log.path());
    const qint64 before = (1 << 20) - room; // the limit is 1 MiB
    QVERIFY(old.open(QIODevice::WriteOnly) && old.resize(before));

    const RunLogEntry entry{QStringLiteral("new"), {}, {}, {}, {}};
    QCOMPARE(log.append(entry), QString());

    const qint64 added = formatEntry(entry).size();
    QCOMPARE(QFileInfo(log.path() + QStringLiteral(".1")).size(), movedAside ? before : 0);
    QCOMPARE(QFileInfo(log.path()).size(), movedAside ? added : before + added);
}

void tst_RunLog::longOutputKeepsItsEndsAndFailures()
{
    OutputTranscript transcript(4000);
    for (int line = 1; line <= 100000; ++line)
        transcript.add(QByteArray::number(line), line % 20000 == 0);
    const QByteArray text = transcript.text();

    QVERIFY(text.size() <= 4000 + 64);
    QVERIFY(text.startsWith("1\n2\n"));
    QVERIFY(text.endsWith("\n99999\n100000\n"));
    for (const char *failure : {"\n20000\n", "\n40000\n", "\n60000\n", "\n80000\n"})
        QVERIFY(text.contains(failure));
    // Every line is either kept or counted.
    const qsizetype marker = text.indexOf("lines of output left out here]");
    QVERIFY(marker > 0);
    const qint64 leftOut =
        text.mid(text.lastIndexOf('[', marker) + 1).split(' ').value(0).toLongLong();
    QCOMPARE(leftOut + text.count('\n') - 1, 100000);
}

QTEST_GUILESS_MAIN(tst_RunLog)
#include "tst_runlog.moc"
