// Copies started for real, as each system starts them: in their copy windows, run by a stand-in
// with a given output and ending (copy_stand_in.sh; on Windows standin_windows.cpp) or on Linux
// by the real copy command, and kept in the run log; or the reason one could not be started. On
// Linux also other programs, found and left running on their own with their arguments.
#include "copy/copycommand.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#ifdef Q_OS_WIN
#include "platform/windowsprogramstarter.h"

#include <windows.h>
#else
#include "platform/posixprogramstarter.h"

#include <cerrno>
#include <cstring>
#include <sys/wait.h>
#endif

using namespace Qt::StringLiterals;

namespace {

// The system's program start, logging copies into the given run log; on Linux with our own copy
// command in the installation folder unless another folder is given.
std::unique_ptr<ProgramStarter> starter(const QString &log,
                                        [[maybe_unused]] const QString &installFolder = {})
{
#ifdef Q_OS_WIN
    return std::make_unique<WindowsProgramStarter>(log);
#else
    return std::make_unique<PosixProgramStarter>(
        installFolder.isEmpty() ? QFileInfo(XCOPY_PROGRAM).path() : installFolder, log);
#endif
}

// The stand-in started as a copy: "LABEL OUT_LINES ERR_LINES ENDING [HOLD_FILE]".
ProgramStart standIn(const QString &caption, const QString &arguments)
{
    const QString program = QStringLiteral(COPY_STAND_IN);
    return {program + ' ' + arguments, program, arguments.split(' '), caption};
}

// The output of the open copy window whose title begins with this, or none.
QPlainTextEdit *output(const QString &title)
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle().startsWith(title))
            return window->findChild<QPlainTextEdit *>(u"output"_s);
    return nullptr;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_CopyWindow : public QObject
{
    Q_OBJECT

  private slots:
#ifndef Q_OS_WIN
    // Found in the installation folder first, with or without .exe, then on PATH; started on its
    // own, with its arguments byte for byte, through no shell.
    void startsTheProgramFound()
    {
        const QStringList arguments({"/home/ann/My Files", "say \"hi\"", "$(touch /tmp/pwned)",
                                     "a;reboot", "line\nbreak", "", "/media/Ärger/日本"});
        // The programs in the installation folder or in path/ on PATH, the one asked for, the one
        // started: the installation folder's, under either name, before PATH's.
        const QByteArray path = qgetenv("PATH");
        for (const auto &[programs, program, found] :
             {std::tuple("tool path/tool", "tool", "tool"),
              std::tuple("tool path/tool.exe", "tool.exe", "tool")}) {
            QTemporaryDir install;
            QVERIFY(QDir(install.path()).mkdir(u"path"_s));
            for (const QString &name : QString(programs).split(' '))
                QVERIFY(QFile::link(QStringLiteral(RECORDER), install.filePath(name)));
            qputenv("PATH", QFile::encodeName(install.filePath(u"path"_s)));
            qputenv("RECORD_TO", QFile::encodeName(install.filePath(u"record"_s)));
            const Outcome started = starter({}, install.path())->start({{}, program, arguments});
            qputenv("PATH", path);
            QVERIFY2(started.ok(), qPrintable(started.why()));
            // It outlives the program and is no child of it, not even a zombie.
            QCOMPARE(waitpid(-1, nullptr, WNOHANG), pid_t(-1));
            QByteArray expected = QFile::encodeName(install.filePath(found));
            for (const QString &argument : arguments)
                expected += '\0' + argument.toUtf8();
            QTRY_COMPARE(contents(install.filePath(u"record"_s)), expected + '\0');
        }
    }
#endif

    // A copy command that cannot be started says why in the system's words, and is logged under
    // the command as it reads here, the quotes in a path left as they are.
    void failedStartGivesTheReason()
    {
        QTemporaryDir install;
        const QString log = install.filePath(u"xcopy.log"_s);
        const auto programs = starter(log, install.path());
        ProgramStart copy = copyCommand(2, u"/a \"b\""_s, u"/c"_s);
#ifdef Q_OS_WIN
        const QString program = u"nosuchcopy.exe"_s, name = program;
        copy.commandLine.replace(u"xcopy.exe"_s, program);
        const QString why = qt_error_string(ERROR_FILE_NOT_FOUND);
#else
        // Found in the installation folder, but no program.
        const QString program = install.filePath(u"xcopy"_s), name = u"xcopy"_s;
        QVERIFY(QFile(program).open(QIODevice::WriteOnly));
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
        const QString why = QString::fromLocal8Bit(std::strerror(ENOEXEC));
#endif
        const QString reason = programs->startCopy(copy).why();
        QVERIFY2(reason.startsWith(program + " could not be started: ") && reason.contains(why),
                 qPrintable(reason));
        const QByteArray title =
            "==== Folder pair 2: " + name.toUtf8() + " \"/a \"b\"\" \"/c\" /D /Y /S\nStarted ";
        QVERIFY(contents(log).startsWith(title));
        QVERIFY(contents(log).endsWith((", not started: " + reason + "\n\n").toUtf8()));
#ifndef Q_OS_WIN
        // Not found: the name on this system, and where it was looked for.
        QCOMPARE(programs->start({{}, u"xcopy.exe"_s, {}}).why(),
                 "xcopy.exe could not be started: " + why);
        QVERIFY(QFile::remove(program));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(install.path()));
        QCOMPARE(programs->startCopy(copy).why(),
                 u"xcopy was not found in the installation folder %1 nor on PATH (%1)"_s.arg(
                     install.path()));
        qputenv("PATH", path);
#endif
    }

    // Each copy ends in words, in its window's last line and in the run log. One that went well
    // closes its window by itself; one that went wrong shows it, with its ending and the lines of
    // its error output in the failure colour. Its output reaches both decoded, without carriage
    // returns.
    void copyEnds()
    {
        // The stand-in's "OUT ERR ENDING", or on Linux the real copy command into its source; the
        // lines in the failure colour, -1 when the window closes; the logged ending.
        const std::tuple<QString, int, QString> rows[] = {
            {"2 0 0", -1, "exit status 0. The copy is done."},
            {"2 0 0", 1,
             "exit status 0. The copy is done. The run log %1 could not be written: "
             "Not a directory."},
            {"0 0 1", -1, "exit status 1. The copy found no file to copy."},
            {"0 0 3", 1, "exit status 3. The copy ended with the unknown exit status 3."},
            {"0 2 4", 3,
             "exit status 4. The copy was refused: Cannot read Ärger/file1: Permission denied"},
            {"0 0 4", 1, "exit status 4. The copy was refused."},
            {"0 1 5", 2, "exit status 5. The copy ended with errors: 1 file could not be copied."},
#ifndef Q_OS_WIN
            {"3 0 -9", 1, "signal 9. The copy was stopped by signal 9 (Killed)."},
            {"xcopy", 2,
             "exit status 4. The copy was refused: the destination lies inside the source."},
#endif
        };
        QTemporaryDir folder;
        // A file stands where the log's folder would be, when it is not writable.
        QVERIFY(QFile(folder.filePath(u"file"_s)).open(QIODevice::WriteOnly));
        for (auto [copy, marked, ending] : rows) {
            const bool logged = !ending.contains("could not be written");
            const QString log = folder.filePath(logged ? "state/xcopy.log" : "file/xcopy.log");
            QFile::remove(log);
            ProgramStart start = standIn(u"Folder pair 3"_s, "Ärger " + copy);
            if (copy == "xcopy") {
                // Quotes and a blank at the end reach the copy command as they are.
                const QString source = folder.filePath(u"say \"hi\" "_s);
                QVERIFY(QDir().mkpath(source));
                start = copyCommand(3, source, source + "/backup");
            }
            // Named by the pair and the command as it reads here, with "xcopy".
            const QString title =
                "Folder pair 3: " + QString(start.commandLine).replace("xcopy.exe", "xcopy");
            const auto programs = starter(log);
            QVERIFY(programs->startCopy(start).ok());
            QPointer<QPlainTextEdit> view = output(title);
            QVERIFY2(view && view->window()->isMinimized() && view->isReadOnly(),
                     qPrintable(title));

            // The last line names the run log.
            ending.replace("%1", log);
            const QString words = ending.section(". ", 1, -1) +
                                  (logged ? " Its output is in the run log " + log + '.' : "");
            const bool wrote = copy.front().isDigit() && !copy.startsWith(u"0"_s);
            if (marked < 0) {
                QTRY_VERIFY(!view);
            } else {
                QTRY_COMPARE(view ? view->document()->lastBlock().text() : QString(), words);
                QVERIFY(!view->window()->isMinimized());
                QCOMPARE(view->toPlainText().startsWith(u"Ärger line 1\n"_s), wrote);
                const QString html = view->document()->toHtml();
                QVERIFY(html.contains(u"font-weight:700;"_s));
                QCOMPARE(html.count(u" color:#"_s), marked);
                QVERIFY(!html.contains(view->palette().text().color().name()));
                view->window()->close();
            }
            if (logged) {
                QTRY_VERIFY(contents(log).endsWith((", " + ending + "\n\n").toUtf8()));
                QVERIFY(contents(log).startsWith(("==== " + title + "\nStarted ").toUtf8()));
                QCOMPARE(contents(log).contains("\nÄrger line 1\n"), wrote);
                QVERIFY(!contents(log).contains('\r'));
            }
        }
    }

    // One copy ends by itself; two hold their temporary file until they are interrupted, one of
    // them with more output than its window keeps.
    void copiesAtOnceAndTheirInterruption()
    {
        QTemporaryDir folder;
        const QString log = folder.filePath(u"xcopy.log"_s);
        const QString temporary = folder.filePath(u"temporary-"_s);
        auto programs = starter(log);
        for (const QString &copy : {u"pair 3000 2 5"_s, "held 2 0 0 " + temporary + "held",
                                    "flood 20000 0 0 " + temporary + "flood"})
            QVERIFY(programs->startCopy(standIn(copy.section(' ', 0, 0), copy)).ok());
        QPlainTextEdit *flooded = output(u"flood"_s);
        QVERIFY(flooded);
        QTRY_COMPARE_WITH_TIMEOUT(flooded->document()->lastBlock().text(), u"flood line 20000"_s,
                                  60000);
        // The view keeps its limit and follows the output.
        QCOMPARE(flooded->document()->blockCount(), 10000);
        QCOMPARE(flooded->verticalScrollBar()->value(), flooded->verticalScrollBar()->maximum());

        // The program goes on without its main window while copy windows are open.
        QWidget mainWindow;
        mainWindow.show();
        QTimer::singleShot(0, &mainWindow, &QWidget::close);
        QTimer::singleShot(100, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 1);

        // Closed at once, without a question, or by the program's end: the copy is interrupted,
        // on Linux never killed outright, so that it removes its temporary file; a console
        // program on Windows ends at once, as a closed console ends it. Each copy is logged with
        // its output, and with why it ended.
        flooded->window()->activateWindow();
        QTRY_VERIFY(flooded->isActiveWindow());
        QTest::keySequence(flooded->window(), QKeySequence::Close);
#ifndef Q_OS_WIN
        QTRY_VERIFY(!QFile::exists(temporary + "flood"));
#endif
        QTRY_COMPARE(contents(log).count("\nEnded "), 2);
        programs.reset();
#ifndef Q_OS_WIN
        QVERIFY(!QFile::exists(temporary + "held"));
#endif
        const QByteArray text = contents(log);
        QCOMPARE(text.count("\nEnded "), 3);
        QCOMPARE(text.count(". The copy was ended because the program ended.\n"), 1);
        QVERIFY(text.contains("\nheld line 1\nheld line 2\nEnded "));
    }
};

QTEST_MAIN(tst_CopyWindow)
#include "tst_copywindow.moc"
