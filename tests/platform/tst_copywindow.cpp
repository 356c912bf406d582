// Copies started for real, each in its copy window, with the real copy command or a stand-in.
#include "copy/copycommand.h"
#include "platform/copywindow.h"
#include "platform/posixprogramstarter.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

class tst_CopyWindow : public QObject
{
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void copyEnds_data();
    void copyEnds();
    void interruptedCopyRemovesItsTemporaryFile_data();
    void interruptedCopyRemovesItsTemporaryFile();
    void sevenCopiesAtOnce();
    void failedStartIsReportedAndLogged_data();
    void failedStartIsReportedAndLogged();

  private:
    // A folder that nobody can write into, root included; empty when the machine has none.
    QString readOnlyFolder(QString *why);
    QString logText() const;

    QTemporaryDir m_scratch;
    QString m_log;
    QString m_mounted;
};

namespace {

ProgramStart standIn(const QString &caption, const QStringList &arguments)
{
    const QString program = QStringLiteral(COPY_STAND_IN);
    return {program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')), program, arguments,
            WindowState::MinimizedActive, caption};
}

CopyWindow *copyWindow(const QString &caption)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *copy = qobject_cast<CopyWindow *>(window);
            copy && copy->isVisible() && copy->windowTitle().startsWith(caption + QLatin1Char(':')))
            return copy;
    }
    return nullptr;
}

QPlainTextEdit *view(CopyWindow *window)
{
    return window->findChild<QPlainTextEdit *>(QStringLiteral("output"));
}

QString lastLine(CopyWindow *window)
{
    return window ? view(window)->document()->lastBlock().text() : QString();
}

// The lines of the view that stand out in a colour of their own.
QStringList failureLines(CopyWindow *window)
{
    QStringList lines;
    for (QTextBlock block = view(window)->document()->begin(); block.isValid();
         block = block.next()) {
        if (block.begin().fragment().charFormat().hasProperty(QTextFormat::ForegroundBrush))
            lines.append(block.text());
    }
    return lines;
}

} // namespace

void tst_CopyWindow::init()
{
    m_log = m_scratch.filePath(QStringLiteral("state/%1/%2/xcopy.log")
                                   .arg(QString::fromLatin1(QTest::currentTestFunction()),
                                        QString::fromLatin1(QTest::currentDataTag())));
}

void tst_CopyWindow::cleanup()
{
    if (!m_mounted.isEmpty())
        umount2(QFile::encodeName(m_mounted).constData(), MNT_DETACH);
    m_mounted.clear();
}

QString tst_CopyWindow::readOnlyFolder(QString *why)
{
    const QString folder = m_scratch.filePath(QStringLiteral("read-only"));
    QDir().mkpath(folder);
    const QByteArray path = QFile::encodeName(folder);
    if (geteuid() != 0) {
        chmod(path.constData(), 0555);
        return folder;
    }
    if (mount("tmpfs", path.constData(), "tmpfs", MS_RDONLY, "size=64k") != 0) {
        *why = QStringLiteral("no read-only tmpfs can be mounted for root: %1")
                   .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return {};
    }
    m_mounted = folder;
    return folder;
}

QString tst_CopyWindow::logText() const
{
    QFile file(m_log);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void tst_CopyWindow::copyEnds_data()
{
    QTest::addColumn<QString>("destination"); // "inside", "read-only", or under the scratch folder
    QTest::addColumn<QStringList>("standInArguments"); // when given, run instead of xcopy
    QTest::addColumn<bool>("logWritable");
    QTest::addColumn<QString>("window"); // "closes", "stays minimized" or "comes up"
    QTest::addColumn<int>("failures");
    // The line before the ending, where the order of the output and the error output is sure.
    QTest::addColumn<QString>("lastOutput");
    QTest::addColumn<QString>("ending"); // %1: the run log

    QTest::newRow("done") << "backup" << QStringList() << true << "closes" << 0 << ""
                          << "exit status 0. The copy is done.";
    QTest::newRow("refused, destination inside the source")
        << "inside" << QStringList() << true << "comes up" << 1 << "Cannot perform a cyclic copy"
        << "exit status 4. The copy was refused: the destination lies inside the source.";
    QTest::newRow("files failed, destination read-only")
        << "read-only" << QStringList() << true << "comes up" << 2 << ""
        << "exit status 5. The copy ended with errors: 2 files could not be copied.";
    QTest::newRow("done, log not writable")
        << "backup" << QStringList() << false << "stays minimized" << 0 << "2 File(s) copied"
        << "exit status 0. The copy is done. The run log %1 could not be written: Not a directory.";
    QTest::newRow("nothing to copy")
        << "" << QStringList{"copy", "0", "0", "1"} << true << "closes" << 0 << ""
        << "exit status 1. The copy found no file to copy.";
    QTest::newRow("interrupted") << "" << QStringList{"copy", "0", "1", "2"} << true << "comes up"
                                 << 1 << "Cannot read copy/file1: Permission denied"
                                 << "exit status 2. The copy was interrupted.";
    QTest::newRow("killed") << "" << QStringList{"copy", "3", "0", "-9"} << true << "comes up" << 0
                            << "copy line 3"
                            << "signal 9. The copy was stopped by signal 9 (Killed).";
}

void tst_CopyWindow::copyEnds()
{
    QFETCH(QString, destination);
    QFETCH(QStringList, standInArguments);
    QFETCH(bool, logWritable);
    QFETCH(QString, window);
    QFETCH(int, failures);
    QFETCH(QString, lastOutput);
    QFETCH(QString, ending);

    QTemporaryDir install;
    QVERIFY(QFile::link(QStringLiteral(XCOPY_PROGRAM), install.filePath("xcopy")));
    const QString source = m_scratch.filePath(QStringLiteral("source"));
    QDir().mkpath(source);
    for (const char *name : {"a.txt", "b.txt"}) {
        QFile file(QDir(source).filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("text") == 4);
    }
    QString why;
    if (destination == QLatin1String("read-only"))
        destination = readOnlyFolder(&why);
    else if (destination == QLatin1String("inside"))
        destination = QDir(source).filePath(QStringLiteral("backup"));
    else
        destination = m_scratch.filePath(destination);
    if (destination.isEmpty())
        QSKIP(qPrintable(why));
    if (!logWritable) {
        QFile blocker(QFileInfo(m_log).absolutePath());
        QVERIFY(QDir().mkpath(QFileInfo(blocker.fileName()).absolutePath()) &&
                blocker.open(QIODevice::WriteOnly));
    }

    PosixProgramStarter starter(install.path(), m_log);
    QCOMPARE(starter.start(standInArguments.isEmpty()
                               ? copyCommand(3, source, destination)
                               : standIn(QStringLiteral("Folder pair 3"), standInArguments)),
             QString());
    QPointer<CopyWindow> copy = copyWindow(QStringLiteral("Folder pair 3"));
    QVERIFY(copy && copy->isMinimized());
    const QFontMetrics letters(view(copy)->font());
    QVERIFY(view(copy)->isReadOnly() && letters.horizontalAdvance(QLatin1Char('i')) ==
                                            letters.horizontalAdvance(QLatin1Char('W')));
    if (standInArguments.isEmpty())
        QCOMPARE(
            copy->windowTitle(),
            QStringLiteral("Folder pair 3: xcopy \"%1\" \"%2\" /D /Y /S").arg(source, destination));

    // The last line says what happened and names the run log; the log says it too.
    ending = ending.arg(m_log);
    const QString words =
        ending.section(QStringLiteral(". "), 1, -1) +
        (logWritable ? QStringLiteral(" Its output is in the run log %1.").arg(m_log) : QString());
    if (window == QLatin1String("closes")) {
        QTRY_VERIFY_WITH_TIMEOUT(!copy, 10000);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(lastLine(copy), words, 10000);
        QCOMPARE(copy->isMinimized(), window == QLatin1String("stays minimized"));
        QCOMPARE(failureLines(copy).size(), failures + (window == "comes up" ? 1 : 0));
        const QTextBlock ending = view(copy)->document()->lastBlock();
        QCOMPARE(ending.begin().fragment().charFormat().fontWeight(), QFont::Bold);
        if (!lastOutput.isEmpty())
            QCOMPARE(ending.previous().text(), lastOutput);
    }
    if (logWritable) {
        QTRY_VERIFY(logText().contains(ending));
        if (!standInArguments.isEmpty())
            QVERIFY(logText().startsWith(QStringLiteral("==== Folder pair 3: %1 %2\nStarted ")
                                             .arg(COPY_STAND_IN, standInArguments.join(' '))));
        if (ending.contains(QLatin1String("done")))
            QVERIFY2(logText().contains(QStringLiteral("\n2 File(s) copied\nEnded ")),
                     qPrintable(logText()));
    }
}

void tst_CopyWindow::interruptedCopyRemovesItsTemporaryFile_data()
{
    QTest::addColumn<bool>("byTheProgramsEnd"); // rather than by closing the window

    QTest::newRow("window closed") << false;
    QTest::newRow("program ended") << true;
}

void tst_CopyWindow::interruptedCopyRemovesItsTemporaryFile()
{
    QFETCH(bool, byTheProgramsEnd);
    auto starter = std::make_unique<PosixProgramStarter>(m_scratch.path(), m_log);
    const QString temporary = m_scratch.filePath(QStringLiteral("xcopy-temporary"));
    QCOMPARE(starter->start(standIn("Folder pair 1", {"copy", "2", "0", "0", temporary})),
             QString());
    QTRY_VERIFY(QFile::exists(temporary));
    CopyWindow *window = copyWindow(QStringLiteral("Folder pair 1"));
    QTRY_COMPARE(view(window)->toPlainText(), QStringLiteral("copy line 1\ncopy line 2"));

    // Closed at once, without a question; the copy is interrupted, never killed outright.
    if (byTheProgramsEnd)
        starter.reset();
    else
        QTest::keySequence(window, QKeySequence::Close);
    QVERIFY(!copyWindow(QStringLiteral("Folder pair 1")));
    QTRY_VERIFY(!QFile::exists(temporary));
    QTRY_VERIFY(logText().contains(QLatin1String("copy line 2\nEnded ")));
    QVERIFY(logText().contains(QLatin1String(", exit status 2. The copy was interrupted.")));

    const QString time = QStringLiteral(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)");
    QVERIFY(QRegularExpression(QStringLiteral("\nStarted %1\n.*\nEnded %1, ").arg(time),
                               QRegularExpression::DotMatchesEverythingOption)
                .match(logText())
                .hasMatch());
}

void tst_CopyWindow::sevenCopiesAtOnce()
{
    QTimer ticker;
    QSignalSpy ticks(&ticker, &QTimer::timeout);
    ticker.start(1000);
    QElapsedTimer flood;
    flood.start();

    PosixProgramStarter starter(m_scratch.path(), m_log);
    const QString hold = m_scratch.filePath(QStringLiteral("hold"));
    for (int pair = 1; pair <= 6; ++pair) {
        const QString label = QStringLiteral("pair%1").arg(pair);
        QCOMPARE(starter.start(standIn(label, {label, "3000", "2", "5"})), QString());
    }
    QCOMPARE(starter.start(standIn("flood", {"flood", "200000", "0", "0", hold})), QString());
    CopyWindow *window = copyWindow(QStringLiteral("flood"));
    QTRY_COMPARE_WITH_TIMEOUT(lastLine(window), QStringLiteral("flood line 200000"), 60000);

    // The view keeps its limit, and the event loop went on turning while the lines came.
    QCOMPARE(view(window)->document()->blockCount(), CopyWindow::kLineLimit);
    QCOMPARE(view(window)->document()->firstBlock().text(), QStringLiteral("flood line 190001"));
    QScrollBar *scrollBar = view(window)->verticalScrollBar();
    QCOMPARE(scrollBar->value(), scrollBar->maximum());
    QVERIFY2(
        ticks.count() >= flood.elapsed() / 1000 - 1,
        qPrintable(QStringLiteral("%1 ticks in %2 ms").arg(ticks.count()).arg(flood.elapsed())));
    QVERIFY(ticks.wait(2000));

    // Each copy's entry is whole: between its start and end lines only its own output.
    window->close();
    QTRY_COMPARE(logText().count(QLatin1String("\nEnded ")), 7);
    QVERIFY(QFileInfo(m_log).size() <= RunLog::kSizeLimit);
    for (const QString &entry : logText().split(QStringLiteral("\n\n"), Qt::SkipEmptyParts)) {
        const QStringList lines = entry.split(QLatin1Char('\n'));
        const QString label = lines[0].section(QLatin1Char(' '), 1, 1).chopped(1);
        for (const QString &line : lines.mid(2, lines.size() - 3))
            QVERIFY2(line.contains(label) || line.contains(QLatin1String("left out")),
                     qPrintable(line));
    }
}

void tst_CopyWindow::failedStartIsReportedAndLogged_data()
{
    QTest::addColumn<bool>("notAProgram"); // an empty file named xcopy, marked as a program
    QTest::addColumn<QString>("reason");   // %1: the installation folder, also PATH

    // The name on this system, the installation folder and then PATH.
    QTest::newRow("missing")
        << false << "xcopy was not found in the installation folder %1 nor on PATH (%1)";
    QTest::newRow("not a program") << true
                                   << "%1/xcopy could not be started: execvp: " +
                                          QString::fromLocal8Bit(std::strerror(ENOEXEC));
}

void tst_CopyWindow::failedStartIsReportedAndLogged()
{
    QFETCH(bool, notAProgram);
    QFETCH(QString, reason);
    QFile file(m_scratch.filePath(QStringLiteral("xcopy")));
    if (notAProgram)
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    file.close();

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(m_scratch.path()));
    const QString given =
        PosixProgramStarter(m_scratch.path(), m_log).start(copyCommand(2, "/a", "/b"));
    qputenv("PATH", path);
    file.remove();

    QCOMPARE(given, reason.arg(m_scratch.path()));
    QVERIFY(!copyWindow(QStringLiteral("Folder pair 2")));
    QVERIFY(logText().startsWith(
        QStringLiteral("==== Folder pair 2: xcopy \"/a\" \"/b\" /D /Y /S\nStarted ")));
    QVERIFY(logText().contains(QStringLiteral(", not started: ") + given + '\n'));
}

QTEST_MAIN(tst_CopyWindow)
#include "tst_copywindow.moc"
