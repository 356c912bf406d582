// Programs started for real: a copy in its copy window, with the real copy command or a stand-in,
// kept in the run log; any other program left running on its own, given its arguments byte for
// byte; or the reason either could not be started.
#include "copy/copycommand.h"
#include "platform/outputtranscript.h"
#include "platform/posixprogramstarter.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <sys/wait.h>

using namespace Qt::StringLiterals;

class tst_CopyWindow : public QObject
{
    Q_OBJECT

  private slots:
    void startsTheProgramFound_data();
    void startsTheProgramFound();
    void failedStartGivesTheReason();
    void copyEnds_data();
    void copyEnds();
    void copiesAtOnceAndTheirInterruption();
    void logIsKeptPrivatelyInTheStateFolder_data();
    void logIsKeptPrivatelyInTheStateFolder();
    void longOutputKeepsItsEndsAndFailures();
};

namespace {

const QByteArray kEntry =
    "==== Folder pair 1: xcopy\nStarted 2026-03-05 09:00:00\n1 File(s) copied\n"
    "Ended 2026-03-05 09:00:03, exit status 0. The copy is done.\n\n";

// The stand-in started as a copy: "LABEL OUT_LINES ERR_LINES ENDING [HOLD_FILE]".
ProgramStart standIn(const QString &caption, const QString &arguments)
{
    const QString program = QStringLiteral(COPY_STAND_IN);
    return {program + ' ' + arguments, program, arguments.split(' '), caption};
}

// The output of the open copy window whose title begins with this, or none.
QPlainTextEdit *output(const QString &title)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle().startsWith(title))
            return window->findChild<QPlainTextEdit *>(u"output"_s);
    }
    return nullptr;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void tst_CopyWindow::startsTheProgramFound_data()
{
    QTest::addColumn<QString>("programs"); // in the installation folder, or in path/ on PATH
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("found");

    QTest::newRow("installation folder first") << u"tool path/tool"_s << u"tool"_s << u"tool"_s;
    QTest::newRow(".exe found without it") << u"path/tool"_s << u"tool.exe"_s << u"path/tool"_s;
    QTest::newRow(".exe found as it is") << u"tool tool.exe"_s << u"tool.exe"_s << u"tool.exe"_s;
    QTest::newRow("installation folder without .exe before PATH with it")
        << u"tool path/tool.exe"_s << u"tool.exe"_s << u"tool"_s;
}

void tst_CopyWindow::startsTheProgramFound()
{
    QFETCH(QString, programs);
    QFETCH(QString, program);
    QFETCH(QString, found);
    // Arguments arrive byte for byte, through no shell.
    const QStringList arguments({"/home/ann/My Files", " two  blanks ", "say \"hi\"", "it's",
                                 "\\\"escaped\\\"", "$(touch /tmp/pwned)", "`id`", "$HOME", "*",
                                 "a;reboot", "b | cat && d", "line\nbreak", "\n", "-rf", "--help",
                                 "/s", "", "/media/Ärger/日本"});
    QTemporaryDir install;
    QVERIFY(QDir(install.path()).mkdir(u"path"_s));
    for (const QString &name : programs.split(' '))
        QVERIFY(QFile::link(QStringLiteral(RECORDER), install.filePath(name)));

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(install.filePath(u"path"_s)));
    qputenv("RECORD_TO", QFile::encodeName(install.filePath(u"record"_s)));
    const Outcome started = PosixProgramStarter(install.path(), {}).start({{}, program, arguments});
    qputenv("PATH", path);
    qunsetenv("RECORD_TO");
    QVERIFY2(started.ok(), qPrintable(started.why()));
    // Started on its own: it outlives the program and is no child of it, not even a zombie.
    QCOMPARE(waitpid(-1, nullptr, WNOHANG), pid_t(-1));

    // It was started where it was found, with its arguments.
    QByteArray expected = QFile::encodeName(install.filePath(found));
    for (const QString &argument : arguments)
        expected += '\0' + argument.toUtf8();
    QTRY_COMPARE(contents(install.filePath(u"record"_s)), expected + '\0');
}

void tst_CopyWindow::failedStartGivesTheReason()
{
    // Not found: the name on this system, where it was looked for. Found but no program: the
    // system's reason. Only a copy is logged.
    QTemporaryDir install;
    const QString log = install.filePath(u"xcopy.log"_s);
    PosixProgramStarter starter(install.path(), log);
    const ProgramStart copy = copyCommand(2, u"/a \"b\""_s, u"/c"_s);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(install.path()));
    const QString missing =
        u"xcopy was not found in the installation folder %1 nor on PATH (%1)"_s.arg(install.path());
    QCOMPARE(starter.startCopy(copy).why(), missing);
    qputenv("PATH", path);

    const QString empty = install.filePath(u"xcopy"_s);
    QVERIFY(QFile(empty).open(QIODevice::WriteOnly));
    QVERIFY(QFile::setPermissions(empty, QFile::ReadOwner | QFile::ExeOwner));
    const QString notAProgram = QString::fromLocal8Bit(std::strerror(ENOEXEC));
    const QString reason = empty + " could not be started: execvp: " + notAProgram;
    QCOMPARE(starter.startCopy(copy).why(), reason);
    QCOMPARE(starter.start({{}, u"xcopy.exe"_s, {}}).why(),
             "xcopy.exe could not be started: " + notAProgram);
    // Logged under the command as it reads, the quotes in a path left as they are.
    const QByteArray text = contents(log);
    QCOMPARE(text.count("==== Folder pair 2: xcopy \"/a \"b\"\" \"/c\" /D /Y /S\nStarted "), 2);
    QVERIFY(text.endsWith(", not started: " + reason.toUtf8() + "\n\n"));
}

void tst_CopyWindow::copyEnds_data()
{
    // The real copy command to a new folder, to one "inside" the source or to one where folders
    // have "taken" the files' names; else the stand-in's "OUT_LINES ERR_LINES ENDING".
    QTest::addColumn<QString>("copy");
    QTest::addColumn<int>("marked");     // lines in the failure colour; -1: the window closes
    QTest::addColumn<QString>("ending"); // %1: the run log

    const auto row = [](const char *name, const char *copy, int marked, const char *ending) {
        QTest::newRow(name) << QString(copy) << marked << QString(ending);
    };
    row("done", "xcopy", -1, "exit status 0. The copy is done.");
    row("done, log not writable", "xcopy", 1,
        "exit status 0. The copy is done. The run log %1 could not be written: Not a directory.");
    row("nothing to copy", "0 0 1", -1, "exit status 1. The copy found no file to copy.");
    row("interrupted", "3 1 2", 2, "exit status 2. The copy was interrupted.");
    row("unknown status", "0 0 3", 1,
        "exit status 3. The copy ended with the unknown exit status 3.");
    row("refused, destination inside the source", "xcopy inside", 2,
        "exit status 4. The copy was refused: the destination lies inside the source.");
    row("refused with a reason", "0 2 4", 3,
        "exit status 4. The copy was refused: Cannot read copy/file1: Permission denied");
    row("refused without one", "0 0 4", 1, "exit status 4. The copy was refused.");
    row("one file failed", "0 1 5", 2,
        "exit status 5. The copy ended with errors: 1 file could not be copied.");
    row("files failed, folders in their place", "xcopy taken", 3,
        "exit status 5. The copy ended with errors: 2 files could not be copied.");
    row("killed", "3 0 -9", 1, "signal 9. The copy was stopped by signal 9 (Killed).");
}

void tst_CopyWindow::copyEnds()
{
    QFETCH(QString, copy);
    QFETCH(int, marked);
    QFETCH(QString, ending);

    // Quotes and a blank at the end reach the copy command as they are.
    QTemporaryDir folder;
    const QString source = folder.filePath(u"say \"hi\" "_s);
    const QString destination = (copy == "xcopy inside" ? source : folder.path()) + "/backup";
    for (const QString name : {"/a.txt", "/b.txt"}) {
        QFile file(source + name);
        QVERIFY(QDir().mkpath(source) && file.open(QIODevice::WriteOnly) && file.write("text"));
        QVERIFY(copy != "xcopy taken" || QDir().mkpath(destination + name));
    }
    // A file stands where the log's folder would be, when it is not writable.
    const bool logWritable = !ending.contains("could not be written");
    const QString log = (logWritable ? folder.path() + "/state" : source + "/a.txt") + "/xcopy.log";

    // The window is named by the pair and the command as it reads here, with "xcopy".
    const ProgramStart start = copy.startsWith("xcopy") ? copyCommand(3, source, destination)
                                                        : standIn("Folder pair 3", "copy " + copy);
    const QString title =
        "Folder pair 3: " + QString(start.commandLine).replace("xcopy.exe", "xcopy");
    PosixProgramStarter starter(QFileInfo(QStringLiteral(XCOPY_PROGRAM)).path(), log);
    QVERIFY(starter.startCopy(start).ok());
    QPointer<QPlainTextEdit> view = output(title);
    QVERIFY(view && view->window()->isMinimized() && view->isReadOnly());
    const QFontMetrics letters(view->font()); // monospaced
    QCOMPARE(letters.horizontalAdvance('i'), letters.horizontalAdvance('W'));

    // The last line says what happened and names the run log; the log says it too. The lines of
    // the error output and a failed copy's last line stand out in a colour.
    ending = ending.arg(log);
    const QString words = ending.section(". ", 1, -1) +
                          (logWritable ? " Its output is in the run log " + log + '.' : QString());
    if (marked < 0) {
        QTRY_VERIFY(!view);
    } else {
        QTRY_COMPARE(view ? view->document()->lastBlock().text() : QString(), words);
        QVERIFY(!view->window()->isMinimized());
        const QString html = view->document()->toHtml();
        QVERIFY(html.contains(u"font-weight:700;"_s));
        QCOMPARE(html.count(u" color:#"_s), marked);
        QVERIFY(!html.contains(view->palette().text().color().name()));
    }
    QTRY_VERIFY(!logWritable || contents(log).endsWith((", " + ending + "\n\n").toUtf8()));
    QVERIFY(!logWritable || contents(log).startsWith(("==== " + title + "\nStarted ").toUtf8()));
}

void tst_CopyWindow::copiesAtOnceAndTheirInterruption()
{
    // One copy ends by itself; two hold their temporary file until they are interrupted.
    QTemporaryDir folder;
    const QString log = folder.filePath(u"xcopy.log"_s);
    const QString temporary = folder.filePath(u"temporary-"_s);
    auto starter = std::make_unique<PosixProgramStarter>(folder.path(), log);
    const QStringList copies{u"pair 3000 2 5"_s, "held 2 0 0 " + temporary + "held",
                             "flood 200000 0 0 " + temporary + "flood"};
    for (const QString &copy : copies)
        QVERIFY(starter->startCopy(standIn(copy.section(' ', 0, 0), copy)).ok());
    QPlainTextEdit *flooded = output(u"flood"_s);
    QVERIFY(flooded);
    QTRY_COMPARE_WITH_TIMEOUT(flooded->document()->lastBlock().text(), u"flood line 200000"_s,
                              60000);

    // The view keeps its limit and follows the output.
    QCOMPARE(flooded->document()->blockCount(), 10000);
    QCOMPARE(flooded->verticalScrollBar()->value(), flooded->verticalScrollBar()->maximum());
    QTRY_COMPARE(output(u"held"_s)->toPlainText(), u"held line 1\nheld line 2"_s);

    // The program goes on without its main window while copy windows are open.
    QWidget mainWindow;
    mainWindow.show();
    QTimer::singleShot(0, &mainWindow, &QWidget::close);
    QTimer::singleShot(100, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 1);

    // Closed at once, without a question, or by the program's end: the copy is interrupted, never
    // killed outright, so it removes its temporary file. Each copy is logged with its output, and
    // with why it ended.
    flooded->window()->activateWindow();
    QTRY_VERIFY(flooded->isActiveWindow());
    QTest::keySequence(flooded->window(), QKeySequence::Close);
    QTRY_VERIFY(!QFile::exists(temporary + "flood"));
    starter.reset();
    QVERIFY(!QFile::exists(temporary + "held"));
    const QByteArray text = contents(log);
    QCOMPARE(text.count("\nEnded "), 3);
    QCOMPARE(text.count(", exit status 2. The copy was interrupted.\n"), 1);
    QCOMPARE(text.count(", exit status 2. The copy was ended because the program ended.\n"), 1);
    QVERIFY(text.contains("\nheld line 1\nheld line 2\nEnded "));
}

void tst_CopyWindow::logIsKeptPrivatelyInTheStateFolder_data()
{
    QTest::addColumn<QString>("stateHome");   // $XDG_STATE_HOME
    QTest::addColumn<QString>("stateFolder"); // where the log goes, ~ for the home folder

    QTest::newRow("given") << u"/srv/state"_s << u"/srv/state"_s;
    QTest::newRow("none given") << QString() << u"~/.local/state"_s;
    QTest::newRow("a relative one ignored") << u"state"_s << u"~/.local/state"_s;
}

void tst_CopyWindow::logIsKeptPrivatelyInTheStateFolder()
{
    QFETCH(QString, stateHome);
    QFETCH(QString, stateFolder);
    qputenv("XDG_STATE_HOME", stateHome.toUtf8());
    QCOMPARE(RunLog::defaultPath(),
             stateFolder.replace('~', QDir::homePath()) + "/RevuredAVeze/xcopy.log");
    qunsetenv("XDG_STATE_HOME");
    QTemporaryDir home;
    const RunLog log(home.filePath(u"state/RevuredAVeze/xcopy.log"_s));
    const QDateTime nine(QDate(2026, 3, 5), QTime(9, 0));
    QVERIFY(log.append({"Folder pair 1: xcopy", nine, "1 File(s) copied\n", nine.addSecs(3),
                        "exit status 0. The copy is done."})
                .ok());
    QCOMPARE(contents(log.path()), kEntry);
    // The log and the folders made for it are the user's alone.
    const QFile::Permissions mine =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    QCOMPARE(QFile::permissions(log.path()), mine);
    for (const QString &made : {home.filePath(u"state"_s), QFileInfo(log.path()).path()})
        QCOMPARE(QFile::permissions(made), mine | QFile::ExeOwner | QFile::ExeUser);
}

void tst_CopyWindow::longOutputKeepsItsEndsAndFailures()
{
    // A quarter of the budget for the head, a quarter for failures between, half for the tail;
    // every line is either kept or counted.
    OutputTranscript transcript(4000);
    for (int line = 1; line <= 100000; ++line)
        transcript.add(QByteArray::number(line), line % 20000 == 0);
    const QByteArray text = transcript.text();

    QVERIFY(text.size() <= 4000 + 64);
    QVERIFY(text.startsWith("1\n2\n"));
    QVERIFY(text.endsWith("\n99999\n100000\n"));
    for (const char *failure : {"\n20000\n", "\n40000\n", "\n60000\n", "\n80000\n"})
        QVERIFY(text.contains(failure));
    const QByteArray leftOut = QByteArray::number(100000 - text.count('\n') + 1);
    QVERIFY(text.contains("\n[" + leftOut + " lines of output left out here]\n"));
}

QTEST_MAIN(tst_CopyWindow)
#include "tst_copywindow.moc"
