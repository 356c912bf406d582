// Copies started for real, each in its copy window, with the real copy command or a stand-in; the
// run log that keeps them; and the program that outlives its main window while a copy runs.
#include "fakes.h"
#include "testdatabase.h"

#include "app/startup.h"
#include "copy/copycommand.h"
#include "platform/outputtranscript.h"
#include "platform/posixprogramstarter.h"
#include "store/settingsfolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class tst_CopyWindow : public QObject
{
    Q_OBJECT

  private slots:
    void copyEnds_data();
    void copyEnds();
    void sevenCopiesAtOnceAndTheirInterruption();
    void logIsKeptPrivatelyInTheStateFolder_data();
    void logIsKeptPrivatelyInTheStateFolder();
    void longOutputKeepsItsEndsAndFailures();
    void programOutlivesItsMainWindowUntilTheCopyEnds();
};

namespace {

const QByteArray kEntry =
    "==== Folder pair 1: xcopy\nStarted 2026-03-05 09:00:00\n1 File(s) copied\n"
    "Ended 2026-03-05 09:00:03, exit status 0. The copy is done.\n\n";

// The stand-in started as a copy: "LABEL OUT_LINES ERR_LINES ENDING [HOLD_FILE]".
ProgramStart standIn(const QString &caption, const QString &arguments)
{
    const QString program = QStringLiteral(COPY_STAND_IN);
    return {program + QLatin1Char(' ') + arguments, program, arguments.split(QLatin1Char(' ')),
            WindowState::MinimizedActive, caption};
}

// The output of the open copy window whose caption begins with this, or none.
QPlainTextEdit *output(const QString &caption)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle().startsWith(caption + QLatin1Char(':')))
            return window->findChild<QPlainTextEdit *>(QStringLiteral("output"));
    }
    return nullptr;
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

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
    const QString destination = (copy == QLatin1String("xcopy inside") ? source : folder.path()) +
                                QStringLiteral("/backup");
    for (const char *name : {"a.txt", "b.txt"}) {
        if (copy == QLatin1String("xcopy taken"))
            QVERIFY(QDir().mkpath(QDir(destination).filePath(name)));
        QFile file(QDir(source).filePath(name));
        QVERIFY(QDir().mkpath(source) && file.open(QIODevice::WriteOnly) && file.write("text"));
    }
    const QString log = folder.filePath(QStringLiteral("state/xcopy.log"));
    const bool logWritable = window != QLatin1String("stays, log not writable");
    QFile blocker(folder.filePath(QStringLiteral("state"))); // where the log's folder would be
    QVERIFY(logWritable || blocker.open(QIODevice::WriteOnly));

    const bool xcopy = copy.startsWith(QLatin1String("xcopy"));
    const ProgramStart start = xcopy ? copyCommand(3, source, destination)
                                     : standIn(QStringLiteral("Folder pair 3"), "copy " + copy);
    const QString title =
        QStringLiteral("Folder pair 3: ") +
        (xcopy ? QStringLiteral("xcopy \"%1\" \"%2\" /D /Y /S").arg(source, destination)
               : start.commandLine);
    PosixProgramStarter starter(QFileInfo(QStringLiteral(XCOPY_PROGRAM)).path(), log);
    QCOMPARE(starter.start(start), QString());
    QPointer<QPlainTextEdit> view = output(QStringLiteral("Folder pair 3"));
    QVERIFY(view && view->window()->isMinimized() && view->isReadOnly());
    QCOMPARE(view->window()->windowTitle(), title);
    const QFontMetrics letters(view->font()); // monospaced
    QCOMPARE(letters.horizontalAdvance(QLatin1Char('i')),
             letters.horizontalAdvance(QLatin1Char('W')));

    // The last line says what happened and names the run log; the log says it too. The lines of
    // the error output and a failed copy's last line stand out in a colour.
    ending = ending.arg(log);
    const QString words =
        ending.section(QStringLiteral(". "), 1, -1) +
        (logWritable ? QStringLiteral(" Its output is in the run log %1.").arg(log) : QString());
    if (window == QLatin1String("closes")) {
        QTRY_VERIFY_WITH_TIMEOUT(!view, 10000);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(view ? view->document()->lastBlock().text() : QString(), words,
                                  10000);
        const QTextDocument *text = view->document();
        QCOMPARE(view->window()->isMinimized(), !logWritable);
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
        QTRY_VERIFY(readText(log).endsWith(QStringLiteral(", %1\n\n").arg(ending)));
        QVERIFY(readText(log).startsWith(QStringLiteral("==== %1\nStarted ").arg(title)));
    }
}

void tst_CopyWindow::sevenCopiesAtOnceAndTheirInterruption()
{
    QTimer ticker;
    QSignalSpy ticks(&ticker, &QTimer::timeout);
    ticker.start(1000);
    QElapsedTimer flood;
    flood.start();

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
        QCOMPARE(starter->start(standIn(copy.section(QLatin1Char(' '), 0, 0), copy)), QString());
    QPlainTextEdit *flooded = output(QStringLiteral("flood"));
    QVERIFY(flooded);
    QTRY_COMPARE_WITH_TIMEOUT(flooded->document()->lastBlock().text(),
                              QStringLiteral("flood line 200000"), 60000);

    // The view keeps its limit and follows the output; the event loop went on turning.
    QCOMPARE(flooded->document()->blockCount(), 10000);
    QCOMPARE(flooded->document()->firstBlock().text(), QStringLiteral("flood line 190001"));
    QCOMPARE(flooded->verticalScrollBar()->value(), flooded->verticalScrollBar()->maximum());
    QVERIFY(ticks.count() >= flood.elapsed() / 1000 - 1 && ticks.wait(2000));
    QTRY_COMPARE(output(QStringLiteral("held"))->toPlainText(),
                 QStringLiteral("held line 1\nheld line 2"));

    // Closed at once, without a question, or by the program's end: the copy is interrupted, never
    // killed outright, so it removes its temporary file.
    flooded->window()->activateWindow();
    QTRY_VERIFY(flooded->isActiveWindow());
    QTest::keySequence(flooded->window(), QKeySequence::Close);
    QVERIFY(!output(QStringLiteral("flood")));
    QTRY_VERIFY(!QFile::exists(temporary + QStringLiteral("flood")));
    starter.reset();
    QVERIFY(!QFile::exists(temporary + QStringLiteral("held")));
    QCOMPARE(readText(log).count(QLatin1String("\nEnded ")), 7);
    const QString time = QStringLiteral(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)");
    for (const char *end : {"Started %1\nheld line 1\nheld line 2", "flood line 200000"}) {
        const QString entryEnd =
            QString::fromLatin1(end) +
            QStringLiteral("\nEnded %1, exit status 2. The copy was interrupted.\n");
        QVERIFY(QRegularExpression(entryEnd.arg(time)).match(readText(log)).hasMatch());
    }
}

void tst_CopyWindow::logIsKeptPrivatelyInTheStateFolder_data()
{
    QTest::addColumn<QString>("stateHome"); // ~ for the home folder
    QTest::addColumn<QString>("path");
    QTest::addColumn<qint64>("room"); // what the log lacks of its 1 MiB before the entry
    QTest::addColumn<bool>("movedAside");

    const auto row = [](const char *name, const char *stateHome, const char *path, qint64 room) {
        QTest::newRow(name) << QString(stateHome) << QString(path) << room
                            << (room < kEntry.size());
    };
    row("state home given, entry fits exactly", "~/state", "~/state/RevuredAVeze/xcopy.log",
        kEntry.size());
    row("none given, one byte too many", "", "~/.local/state/RevuredAVeze/xcopy.log",
        kEntry.size() - 1);
    row("relative one ignored", "state", "~/.local/state/RevuredAVeze/xcopy.log", 1 << 19);
}

void tst_CopyWindow::logIsKeptPrivatelyInTheStateFolder()
{
    QFETCH(QString, stateHome);
    QFETCH(QString, path);
    QFETCH(qint64, room);
    QFETCH(bool, movedAside);
    QTemporaryDir home;
    const QByteArray realHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome.replace(QLatin1Char('~'), home.path())));
    const RunLog log(RunLog::defaultPath());
    qputenv("HOME", realHome);
    qunsetenv("XDG_STATE_HOME");
    QCOMPARE(log.path(), path.replace(QLatin1Char('~'), home.path()));

    // An older log of its size; then the entry, which moves it aside past the limit.
    const qint64 before = (1 << 20) - room;
    QCOMPARE(log.append({{}, {}, QByteArray(before - formatEntry({}).size(), 'x'), {}, {}}),
             QString());
    QFile(log.path() + QStringLiteral(".1")).open(QIODevice::WriteOnly); // an older part, replaced
    const QDateTime nine(QDate(2026, 3, 5), QTime(9, 0));
    QCOMPARE(log.append({QStringLiteral("Folder pair 1: xcopy"), nine, "1 File(s) copied\n",
                         nine.addSecs(3), QStringLiteral("exit status 0. The copy is done.")}),
             QString());

    const QString text = readText(log.path());
    QCOMPARE(text.size(), movedAside ? kEntry.size() : before + kEntry.size());
    QVERIFY(text.endsWith(QString::fromUtf8(kEntry)));
    QCOMPARE(QFileInfo(log.path() + QStringLiteral(".1")).size(), movedAside ? before : 0);
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

void tst_CopyWindow::programOutlivesItsMainWindowUntilTheCopyEnds()
{
    // The copy command, a stand-in, waits at a gate that the test opens.
    QTemporaryDir install;
    TestDatabase database;
    QVERIFY(QFile::copy(database.path(), settingsDatabasePath(install.path())));
    QVERIFY(QFile::link(QStringLiteral(ARGV_RECORDER), install.filePath("xcopy")));
    const QByteArray gate = QFile::encodeName(install.filePath("gate"));
    QVERIFY(mkfifo(gate.constData(), 0600) == 0);
    qputenv("RECORD_AFTER", gate);
    qputenv("RECORD_TO", QFile::encodeName(install.filePath("record")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(install.filePath("state")));

    QObject context;
    QTimer gateOpener;
    QPointer<QWidget> mainWindow;
    bool mainWindowGone = false;
    QTimer::singleShot(0, &context, [&] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String("frmSelect"))
                mainWindow = window;
        }
        mainWindow->findChild<QLineEdit *>("Text1")->setText(install.filePath("from"));
        mainWindow->findChild<QLineEdit *>("Text2")->setText(install.filePath("to"));
        mainWindow->findChild<QCheckBox *>("Check1")->setChecked(true);
        mainWindow->findChild<QPushButton *>("Command1")->click();
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() != QLatin1String("CopyWindow"))
                window->close();
        }
        gateOpener.start(10);
    });
    connect(&gateOpener, &QTimer::timeout, &context, [&] {
        const int writer = open(gate.constData(), O_WRONLY | O_NONBLOCK);
        if (writer < 0)
            return;
        mainWindowGone = mainWindow.isNull();
        QVERIFY(write(writer, "go", 2) == 2);
        close(writer);
        gateOpener.stop();
    });

    FakeMessageBoxes messages;
    const int status = runProgram(install.path(), messages);
    qunsetenv("XDG_STATE_HOME");

    // The program went on without its main window, and ended when the copy and its window did.
    QCOMPARE(status, 0);
    QVERIFY(mainWindowGone);
    QVERIFY(messages.shown.isEmpty());
    QVERIFY(
        readText(install.filePath("state/RevuredAVeze/xcopy.log")).contains(", exit status 0. "));
}

QTEST_MAIN(tst_CopyWindow)
#include "tst_copywindow.moc"
