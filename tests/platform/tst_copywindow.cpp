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
#include <sys/stat.h>
#include <sys/wait.h>

class tst_CopyWindow : public QObject
{
    Q_OBJECT

  private slots:
    void startsTheProgramFound_data();
    void startsTheProgramFound();
    void failedStartGivesTheReason_data();
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
    return {program + ' ' + arguments, program, arguments.split(' '), WindowState::MinimizedActive,
            caption};
}

// The output of the open copy window whose caption begins with this, or none.
QPlainTextEdit *output(const QString &caption)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle().startsWith(caption + ':'))
            return window->findChild<QPlainTextEdit *>(QStringLiteral("output"));
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
    QTest::addColumn<QString>("installed"); // names in the installation folder
    QTest::addColumn<QString>("onPath");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("found"); // the folder, "install" or "path", and the name
    QTest::addColumn<QStringList>("arguments");

    const auto row = [](const char *name, const char *installed, const char *onPath,
                        const char *program, const char *found, const QStringList &arguments = {}) {
        QTest::newRow(name) << QString(installed) << QString(onPath) << QString(program)
                            << QString(found) << arguments;
    };
    row("installation folder before PATH", "tool", "tool", "tool", "install/tool");
    row(".exe found without it on PATH", "", "tool", "tool.exe", "path/tool");
    row("installation folder without .exe before PATH with it", "tool", "tool.exe", "tool.exe",
        "install/tool");
    row(".exe found as it is", "tool tool.exe", "", "tool.exe", "install/tool.exe");
    // Arguments arrive byte for byte, through no shell.
    row(".exe found without it, arguments", "tool", "", "tool.exe", "install/tool",
        {"/home/ann/My Files", " two  blanks ", "say \"hi\"", "it's", "\\\"escaped\\\"",
         "$(touch /tmp/pwned)", "`id`", "$HOME", "*", "a;reboot", "b | cat && d", "line\nbreak",
         "\n", "-rf", "--help", "/s", "", "/media/Ärger/日本"});
}

void tst_CopyWindow::startsTheProgramFound()
{
    QFETCH(QString, installed);
    QFETCH(QString, onPath);
    QFETCH(QString, program);
    QFETCH(QString, found);
    QFETCH(QStringList, arguments);
    QTemporaryDir install;
    QTemporaryDir pathFolder;
    const auto link = [](const QTemporaryDir &folder, const QString &names) {
        for (const QString &name : names.split(' ', Qt::SkipEmptyParts))
            QVERIFY(QFile::link(QStringLiteral(RECORDER), folder.filePath(name)));
    };
    link(install, installed);
    link(pathFolder, onPath);
    const QString record = install.filePath(QStringLiteral("record"));

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(pathFolder.path()));
    qputenv("RECORD_TO", QFile::encodeName(record));
    const QString reason = PosixProgramStarter(install.path(), {})
                               .start({{}, program, arguments, WindowState::MaximizedFocus, {}});
    qputenv("PATH", path);
    qunsetenv("RECORD_TO");
    QCOMPARE(reason, QString());
    // Started on its own: it outlives the program and is no child of it, not even a zombie.
    errno = 0;
    QCOMPARE(waitpid(-1, nullptr, WNOHANG), pid_t(-1));
    QCOMPARE(errno, ECHILD);

    // It was started where it was found, with its arguments.
    const QTemporaryDir &folder = found.startsWith("install") ? install : pathFolder;
    QByteArray expected = QFile::encodeName(folder.filePath(found.section('/', 1)));
    for (const QString &argument : arguments)
        expected += '\0' + argument.toUtf8();
    QTRY_COMPARE(contents(record), expected + '\0');
}

void tst_CopyWindow::failedStartGivesTheReason_data()
{
    QTest::addColumn<bool>("notAProgram"); // an empty file named xcopy, marked as a program
    QTest::addColumn<QString>("asCopy");   // %1: the installation folder, also PATH
    QTest::addColumn<QString>("onItsOwn");

    // The name on this system, the installation folder and then PATH.
    const QString missing = "xcopy was not found in the installation folder %1 nor on PATH (%1)";
    const QString notExecutable = QString::fromLocal8Bit(std::strerror(ENOEXEC));
    QTest::newRow("missing") << false << missing << missing;
    QTest::newRow("not a program")
        << true << "%1/xcopy could not be started: execvp: " + notExecutable
        << "xcopy.exe could not be started: " + notExecutable;
}

void tst_CopyWindow::failedStartGivesTheReason()
{
    QFETCH(bool, notAProgram);
    QFETCH(QString, asCopy);
    QFETCH(QString, onItsOwn);
    QTemporaryDir install;
    QFile file(install.filePath(QStringLiteral("xcopy")));
    QVERIFY(!notAProgram || (file.open(QIODevice::WriteOnly) &&
                             file.setPermissions(QFile::ReadOwner | QFile::ExeOwner)));
    file.close();

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(install.path()));
    const QString log = install.filePath(QStringLiteral("xcopy.log"));
    ProgramStart start = copyCommand(2, QStringLiteral("/a"), QStringLiteral("/b"));
    const QString copyGiven = PosixProgramStarter(install.path(), log).start(start);
    start.state = WindowState::MaximizedFocus;
    const QString ownGiven = PosixProgramStarter(install.path(), log).start(start);
    qputenv("PATH", path);

    // Only the copy is logged.
    QCOMPARE(copyGiven, asCopy.arg(install.path()));
    QCOMPARE(ownGiven, onItsOwn.arg(install.path()));
    const QByteArray text = contents(log);
    QVERIFY(text.startsWith("==== Folder pair 2: xcopy \"/a\" \"/b\" /D /Y /S\nStarted "));
    QVERIFY(text.endsWith((", not started: " + copyGiven + "\n\n").toUtf8()));
    QCOMPARE(text.count("===="), 1);
}

void tst_CopyWindow::copyEnds_data()
{
    // The real copy command to a new folder, to one "inside" the source or to one where folders
    // have "taken" the files' names; else the stand-in's "OUT_LINES ERR_LINES ENDING".
    QTest::addColumn<QString>("copy");
    QTest::addColumn<QString>("window"); // "closes", "comes up" or "stays, log not writable"
    QTest::addColumn<int>("failureLines");
    QTest::addColumn<QString>("ending"); // %1: the run log

    const auto row = [](const char *name, const char *copy, const char *window, int failureLines,
                        const char *ending) {
        QTest::newRow(name) << QString(copy) << QString(window) << failureLines << QString(ending);
    };
    row("done", "xcopy", "closes", 0, "exit status 0. The copy is done.");
    row("done, log not writable", "xcopy", "stays, log not writable", 0,
        "exit status 0. The copy is done. The run log %1 could not be written: Not a directory.");
    row("nothing to copy", "0 0 1", "closes", 0, "exit status 1. The copy found no file to copy.");
    row("interrupted", "3 1 2", "comes up", 1, "exit status 2. The copy was interrupted.");
    row("unknown status", "0 0 3", "comes up", 0,
        "exit status 3. The copy ended with the unknown exit status 3.");
    row("refused, destination inside the source", "xcopy inside", "comes up", 1,
        "exit status 4. The copy was refused: the destination lies inside the source.");
    row("refused with a reason", "0 2 4", "comes up", 2,
        "exit status 4. The copy was refused: Cannot read copy/file1: Permission denied");
    row("refused without one", "0 0 4", "comes up", 0, "exit status 4. The copy was refused.");
    row("one file failed", "0 1 5", "comes up", 1,
        "exit status 5. The copy ended with errors: 1 file could not be copied.");
    row("files failed, folders in their place", "xcopy taken", "comes up", 2,
        "exit status 5. The copy ended with errors: 2 files could not be copied.");
    row("killed", "3 0 -9", "comes up", 0, "signal 9. The copy was stopped by signal 9 (Killed).");
}

void tst_CopyWindow::copyEnds()
{
    QFETCH(QString, copy);
    QFETCH(QString, window);
    QFETCH(int, failureLines);
    QFETCH(QString, ending);

    // Quotes and a blank at the end reach the copy command as they are.
    QTemporaryDir folder;
    const QString source = folder.filePath(QStringLiteral("say \"hi\" "));
    const QString destination = (copy == "xcopy inside" ? source : folder.path()) + "/backup";
    for (const char *name : {"a.txt", "b.txt"}) {
        if (copy == "xcopy taken")
            QVERIFY(QDir().mkpath(QDir(destination).filePath(name)));
        QFile file(QDir(source).filePath(name));
        QVERIFY(QDir().mkpath(source) && file.open(QIODevice::WriteOnly) && file.write("text"));
    }
    const QString log = folder.filePath(QStringLiteral("state/xcopy.log"));
    const bool logWritable = window != "stays, log not writable";
    QFile blocker(folder.filePath(QStringLiteral("state"))); // where the log's folder would be
    QVERIFY(logWritable || blocker.open(QIODevice::WriteOnly));

    // The window is named by the pair and the command as it reads here, with "xcopy".
    const ProgramStart start = copy.startsWith("xcopy") ? copyCommand(3, source, destination)
                                                        : standIn("Folder pair 3", "copy " + copy);
    const QString title =
        "Folder pair 3: " + QString(start.commandLine).replace("xcopy.exe", "xcopy");
    PosixProgramStarter starter(QFileInfo(QStringLiteral(XCOPY_PROGRAM)).path(), log);
    QCOMPARE(starter.start(start), QString());
    QPointer<QPlainTextEdit> view = output(QStringLiteral("Folder pair 3"));
    QVERIFY(view && view->window()->isMinimized() && view->isReadOnly());
    QCOMPARE(view->window()->windowTitle(), title);
    const QFontMetrics letters(view->font()); // monospaced
    QCOMPARE(letters.horizontalAdvance('i'), letters.horizontalAdvance('W'));

    // The last line says what happened and names the run log; the log says it too. The lines of
    // the error output and a failed copy's last line stand out in a colour.
    ending = ending.arg(log);
    const QString words = ending.section(". ", 1, -1) +
                          (logWritable ? " Its output is in the run log " + log + '.' : QString());
    if (window == "closes") {
        QTRY_VERIFY_WITH_TIMEOUT(!view, 10000);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(view ? view->document()->lastBlock().text() : QString(), words,
                                  10000);
        QCOMPARE(view->window()->isMinimized(), !logWritable);
        const QTextDocument *text = view->document();
        QCOMPARE(text->lastBlock().begin().fragment().charFormat().fontWeight(), QFont::Bold);
        int coloured = 0;
        for (QTextBlock block = text->begin(); block.isValid(); block = block.next()) {
            const QTextCharFormat format = block.begin().fragment().charFormat();
            coloured += format.hasProperty(QTextFormat::ForegroundBrush) &&
                        format.foreground().color() != view->palette().text().color();
        }
        QCOMPARE(coloured, failureLines + (logWritable ? 1 : 0));
    }
    if (logWritable) {
        QTRY_VERIFY(contents(log).endsWith((", " + ending + "\n\n").toUtf8()));
        QVERIFY(contents(log).startsWith(("==== " + title + "\nStarted ").toUtf8()));
    }
}

void tst_CopyWindow::copiesAtOnceAndTheirInterruption()
{
    // Five copies end by themselves; two hold their temporary file until they are interrupted.
    QTemporaryDir folder;
    const QString log = folder.filePath(QStringLiteral("xcopy.log"));
    const QString temporary = folder.filePath(QStringLiteral("temporary-"));
    auto starter = std::make_unique<PosixProgramStarter>(folder.path(), log);
    QStringList copies{"held 2 0 0 " + temporary + "held",
                       "flood 200000 0 0 " + temporary + "flood"};
    for (int pair = 1; pair <= 5; ++pair)
        copies.append(QStringLiteral("pair%1 3000 2 5").arg(pair));
    for (const QString &copy : copies)
        QCOMPARE(starter->start(standIn(copy.section(' ', 0, 0), copy)), QString());
    QPlainTextEdit *flooded = output(QStringLiteral("flood"));
    QVERIFY(flooded);
    QTRY_COMPARE_WITH_TIMEOUT(flooded->document()->lastBlock().text(),
                              QStringLiteral("flood line 200000"), 60000);

    // The view keeps its limit and follows the output.
    QCOMPARE(flooded->document()->blockCount(), 10000);
    QCOMPARE(flooded->verticalScrollBar()->value(), flooded->verticalScrollBar()->maximum());
    QTRY_COMPARE(output(QStringLiteral("held"))->toPlainText(),
                 QStringLiteral("held line 1\nheld line 2"));

    // The program goes on without its main window while copy windows are open.
    QWidget mainWindow;
    mainWindow.show();
    QTimer::singleShot(0, &mainWindow, &QWidget::close);
    QTimer::singleShot(100, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 1);

    // Closed at once, without a question, or by the program's end: the copy is interrupted, never
    // killed outright, so it removes its temporary file. Each copy is logged with its output.
    flooded->window()->activateWindow();
    QTRY_VERIFY(flooded->isActiveWindow());
    QTest::keySequence(flooded->window(), QKeySequence::Close);
    QVERIFY(!output(QStringLiteral("flood")));
    QTRY_VERIFY(!QFile::exists(temporary + "flood"));
    starter.reset();
    QVERIFY(!QFile::exists(temporary + "held"));
    const QByteArray text = contents(log);
    QCOMPARE(text.count("\nEnded "), 7);
    QCOMPARE(text.count(", exit status 2. The copy was interrupted.\n"), 2);
    QVERIFY(text.contains("\nheld line 1\nheld line 2\nEnded "));
}

void tst_CopyWindow::logIsKeptPrivatelyInTheStateFolder_data()
{
    QTest::addColumn<QString>("stateHome"); // ~ for the home folder
    QTest::addColumn<QString>("stateFolder");
    QTest::addColumn<int>("room"); // what the log lacks of its 1 MiB before the entry

    const auto row = [](const char *name, const char *stateHome, const char *folder, int room) {
        QTest::newRow(name) << QString(stateHome) << QString(folder) << room;
    };
    row("given, the entry fits exactly", "~/state", "~/state", int(kEntry.size()));
    row("none given, one byte too many", "", "~/.local/state", int(kEntry.size()) - 1);
    row("a relative one ignored", "state", "~/.local/state", 1 << 19);
}

void tst_CopyWindow::logIsKeptPrivatelyInTheStateFolder()
{
    QFETCH(QString, stateHome);
    QFETCH(QString, stateFolder);
    QFETCH(int, room);
    QTemporaryDir home;
    const QByteArray realHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome.replace('~', home.path())));
    const RunLog log(RunLog::defaultPath());
    qputenv("HOME", realHome);
    qunsetenv("XDG_STATE_HOME");
    QCOMPARE(log.path(), stateFolder.replace('~', home.path()) + "/RevuredAVeze/xcopy.log");

    // An older log of its size; then the entry, which moves it aside past the limit.
    const qint64 before = (1 << 20) - room;
    QCOMPARE(log.append({{}, {}, QByteArray(before - formatEntry({}).size(), 'x'), {}, {}}),
             QString());
    QFile(log.path() + ".1").open(QIODevice::WriteOnly); // an older part, replaced
    const QDateTime nine(QDate(2026, 3, 5), QTime(9, 0));
    QCOMPARE(log.append({"Folder pair 1: xcopy", nine, "1 File(s) copied\n", nine.addSecs(3),
                         "exit status 0. The copy is done."}),
             QString());

    const bool movedAside = room < kEntry.size();
    const QByteArray text = contents(log.path());
    QCOMPARE(text.size(), movedAside ? kEntry.size() : before + kEntry.size());
    QVERIFY(text.endsWith(kEntry));
    QCOMPARE(QFileInfo(log.path() + ".1").size(), movedAside ? before : 0);
    // The log and the folders made for it are the user's alone.
    const auto mode = [](const QString &path) {
        struct stat info = {};
        stat(QFile::encodeName(path).constData(), &info);
        return info.st_mode & 07777;
    };
    QCOMPARE(mode(log.path()), mode_t(0600));
    for (QString made = QFileInfo(log.path()).path(); made != home.path();
         made = QFileInfo(made).path())
        QCOMPARE(mode(made), mode_t(0700));
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
