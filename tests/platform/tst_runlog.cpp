// The run log on its own: when it starts anew, that no entry of a run is ever dropped, and that
// two programs writing it at once lose nothing.
#include "platform/outputtranscript.h"
#include "platform/runlog.h"

#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

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
    QStringList found;
    static const QRegularExpression entry(QStringLiteral("^==== (.*)\\n(?:.*\\n)*?Ended .*\\n\\n"),
                                          QRegularExpression::MultilineOption);
    for (const QString &path : {log.path() + ".1", log.path()}) {
        const QString text = QString::fromUtf8(contents(path));
        for (auto match = entry.globalMatch(text); match.hasNext();)
            found.append(match.next().captured(1));
    }
    return found;
}

} // namespace

class tst_RunLog : public QObject
{
    Q_OBJECT

  private slots:
    // An entry goes into the log as long as the log has not reached its limit, even when it
    // takes it past; the next entry starts a new log, and the full one replaces the old part.
    void startsAnewOnceTheLimitIsReached()
    {
        QTemporaryDir folder;
        const RunLog log(folder.filePath("xcopy.log"));
        QVERIFY(log.append(entryOfSize("below", RunLog::kSizeLimit - 100)).ok());
        QVERIFY(log.append(entryOfSize("past", 200)).ok());
        QVERIFY(!QFile::exists(log.path() + ".1"));
        QVERIFY(log.append(entryOfSize("new", 100)).ok());
        QCOMPARE(titles(log), (QStringList{"below", "past", "new"}));
        QCOMPARE(contents(log.path()).size(), 100);

        QVERIFY(log.append(entryOfSize("exactly full", RunLog::kSizeLimit - 100)).ok());
        QVERIFY(log.append(entryOfSize("newer", 100)).ok());
        QCOMPARE(titles(log), (QStringList{"new", "exactly full", "newer"}));
    }

    // Seven copies of a run, each with more output than the log keeps of one, all end up in the
    // log, however full it was before the run.
    void aRunLosesNoEntry()
    {
        for (const qsizetype before : {qsizetype(0), RunLog::kSizeLimit / 2,
                                       RunLog::kSizeLimit - 1000}) {
            QTemporaryDir folder;
            const RunLog log(folder.filePath("xcopy.log"));
            if (before > 0)
                QVERIFY(log.append(entryOfSize("before", before)).ok());
            QStringList run;
            for (int pair = 1; pair <= 7; ++pair) {
                OutputTranscript transcript(RunLog::kOutputBudget);
                for (int line = 0; line < 200000; ++line)
                    transcript.add("dst/folder/file " + QByteArray::number(line), line % 50 == 0);
                run.append(QStringLiteral("Folder pair %1").arg(pair));
                QVERIFY(log.append({run.last(), {}, transcript.text(), {}, "exit status 0."}).ok());
            }
            QCOMPARE(titles(log).mid(titles(log).indexOf("Folder pair 1")), run);
        }
    }

    // A program that is writing the log holds it: another waits until it is done, then writes.
    void aWriterWaitsForTheOneWriting()
    {
        QTemporaryDir folder;
        const RunLog log(folder.filePath("xcopy.log"));
        QLockFile writing(log.path() + ".lock");
        QVERIFY(writing.tryLock(0));
        QProcess writer;
        writer.start(QStringLiteral(LOG_WRITER), {log.path(), "A", "1", "10"});
        QVERIFY(!writer.waitForFinished(1000));
        QVERIFY(!QFile::exists(log.path()));
        writing.unlock();
        QVERIFY(writer.waitForFinished(20000));
        QCOMPARE(writer.exitCode(), 0);
        QCOMPARE(titles(log), QStringList{"A 1"});
    }

    // Two programs writing at once, starting anew many times between them: every entry is
    // whole, the old part is a full log, and what remains of each program's entries follows on
    // to its last one without a gap.
    void twoWritersLoseNothing()
    {
        QTemporaryDir folder;
        const RunLog log(folder.filePath("xcopy.log"));
        constexpr int kEntries = 1000;
        QList<QProcess *> writers;
        for (const char *label : {"A", "B"}) {
            auto *writer = new QProcess(this);
            writer->start(QStringLiteral(LOG_WRITER),
                          {log.path(), label, QString::number(kEntries), "3000"});
            writers.append(writer);
        }
        for (QProcess *writer : writers) {
            QVERIFY(writer->waitForFinished(120000));
            QCOMPARE(writer->readAllStandardError(), QByteArray());
            QCOMPARE(writer->exitCode(), 0);
        }
        const QStringList found = titles(log);
        QCOMPARE(contents(log.path() + ".1").count("==== ") + contents(log.path()).count("==== "),
                 found.size());
        QVERIFY(contents(log.path() + ".1").size() >= RunLog::kSizeLimit);
        for (const char *label : {"A ", "B "}) {
            QList<int> numbers;
            for (const QString &title : found) {
                if (title.startsWith(QLatin1String(label)))
                    numbers.append(title.mid(2).toInt());
            }
            for (qsizetype n = 0; n < numbers.size(); ++n)
                QCOMPARE(numbers[n], kEntries - numbers.size() + 1 + int(n));
        }
    }
};

QTEST_GUILESS_MAIN(tst_RunLog)
#include "tst_runlog.moc"
