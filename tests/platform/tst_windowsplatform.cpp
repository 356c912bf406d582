// The Windows program start, for real: a copy runs in its copy window with its whole command line
// as it stands, its output read through pipes and decoded from the console's code page, and is
// kept in the run log; Notepad and a document's program start maximized; a failed start gives
// the system's reason. The stand-ins (standin_windows.cpp) lie beside this test, where the
// system's search finds them first, as xcopy.exe and notepad.exe. Also the run log's place and
// the drive letters.
#include "copy/copycommand.h"
#include "platform/drives.h"
#include "platform/windowsprogramstarter.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <windows.h>

using namespace Qt::StringLiterals;

class tst_WindowsPlatform : public QObject
{
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void copyRunsInItsWindowWithItsWholeLine_data();
    void copyRunsInItsWindowWithItsWholeLine();
    void closingItsWindowEndsTheCopy();
    void helpDocumentsOpenMaximized();
    void failedStartsGiveTheSystemsReason();
    void runLogIsInTheLocalApplicationData();
    void drivesAreTheDriveLetters();

  private:
    // The stand-in's record: its command line and window state for each start.
    QStringList records() const;
    QString logText() const;

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<WindowsProgramStarter> m_starter;
    QString m_log;
};

namespace {

// The open copy window whose title begins with this, or none.
QPlainTextEdit *output(const QString &title)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle().startsWith(title))
            return window->findChild<QPlainTextEdit *>(u"output"_s);
    }
    return nullptr;
}

QString standIn()
{
    return QDir::toNativeSeparators(QApplication::applicationDirPath() + u"/notepad.exe"_s);
}

} // namespace

void tst_WindowsPlatform::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    m_log = QDir::toNativeSeparators(m_folder->filePath(u"state/RevuredAVeze/xcopy.log"_s));
    m_starter = std::make_unique<WindowsProgramStarter>(m_log);
    qputenv("STAND_IN_RECORD", QDir::toNativeSeparators(m_folder->filePath(u"record"_s)).toUtf8());
}

void tst_WindowsPlatform::cleanup()
{
    m_starter.reset();
    qunsetenv("STAND_IN_RECORD");
    qunsetenv("STAND_IN_COPY");
}

QStringList tst_WindowsPlatform::records() const
{
    QFile file(m_folder->filePath(u"record"_s));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

QString tst_WindowsPlatform::logText() const
{
    QFile file(m_log);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void tst_WindowsPlatform::copyRunsInItsWindowWithItsWholeLine_data()
{
    // The stand-in's "OUT ERR ENDING"; then how many lines stand out in the failure colour, or -1
    // when the window closes by itself.
    QTest::addColumn<QString>("copy");
    QTest::addColumn<int>("marked");
    QTest::addColumn<QString>("ending");

    QTest::newRow("done") << u"2 0 0"_s << -1 << u"exit status 0. The copy is done."_s;
    QTest::newRow("nothing to copy")
        << u"0 0 1"_s << -1 << u"exit status 1. The copy found no file to copy."_s;
    QTest::newRow("files failed")
        << u"1 2 5"_s << 3
        << u"exit status 5. The copy ended with errors: 2 files could not be copied."_s;
    QTest::newRow("refused") << u"0 1 4"_s << 2
                             << u"exit status 4. The copy was refused: Access denied - "
                                u"C:\\from\\file1.txt"_s;
}

void tst_WindowsPlatform::copyRunsInItsWindowWithItsWholeLine()
{
    QFETCH(QString, copy);
    QFETCH(int, marked);
    QFETCH(QString, ending);
    qputenv("STAND_IN_COPY", copy.toUtf8());

    // Blanks and quotes in a path, and a path that looks like a switch, reach the command as
    // they stand.
    const ProgramStart start = copyCommand(3, u"C:\\My Files\\say \"hi\""_s, u"/s"_s);
    const QString title = "Folder pair 3: " + start.commandLine;
    QVERIFY(m_starter->startCopy(start).ok());
    QPointer<QPlainTextEdit> view = output(title);
    QVERIFY(view && view->window()->isMinimized());

    const QString words =
        ending.section(". ", 1, -1) + " Its output is in the run log " + m_log + '.';
    if (marked < 0) {
        QTRY_VERIFY(!view);
    } else {
        QTRY_COMPARE(view ? view->document()->lastBlock().text() : QString(), words);
        QVERIFY(!view->window()->isMinimized());
        QCOMPARE(view->document()->toHtml().count(u" color:#"_s), marked);
        QCOMPARE(view->toPlainText().contains(u"C:\\from\\Ärger 1.txt\n"_s), !copy.startsWith('0'));
    }
    // The command line arrived whole, with the copy's console hidden.
    QCOMPARE(records(), (QStringList{start.commandLine, u"hidden"_s}));
    // The log keeps the output without carriage returns, decoded, like the rest in UTF-8.
    QTRY_VERIFY(logText().endsWith(", " + ending + "\n\n"));
    QVERIFY(logText().startsWith("==== " + title + "\nStarted "));
    QCOMPARE(logText().contains(u"\nC:\\from\\Ärger 1.txt\n"_s), !copy.startsWith('0'));
    QVERIFY(!logText().contains('\r'));
}

void tst_WindowsPlatform::closingItsWindowEndsTheCopy()
{
    qputenv("STAND_IN_COPY", "1 0 hold");
    const ProgramStart start = copyCommand(1, u"C:\\a"_s, u"C:\\b"_s);
    QVERIFY(m_starter->startCopy(start).ok());
    QPointer<QPlainTextEdit> view = output(u"Folder pair 1: "_s);
    QVERIFY(view);
    QTRY_COMPARE(view->toPlainText(), u"C:\\from\\Ärger 1.txt"_s);
    view->window()->close();
    QTRY_VERIFY(logText().contains(u"\nEnded "_s));
    QVERIFY2(logText().endsWith(u". The copy was stopped (status 0x0000f291).\n\n"_s),
             qPrintable(logText()));
}

void tst_WindowsPlatform::helpDocumentsOpenMaximized()
{
    // The text: its fixed line, Notepad found by the system's search (here the stand-in).
    const QString notepad = u"notepad.exe C:\\Program Files\\RevuredAVeze\\XCopyInstruct.txt"_s;
    QVERIFY(m_starter->start({notepad, u"xdg-open"_s, {}}).ok());
    QTRY_COMPARE(records(), (QStringList{notepad, u"maximized"_s}));

    // A document: the program Windows associates with its type, here the stand-in.
    const QString type = u"HKEY_CLASSES_ROOT\\"_s;
    QSettings classes(type, QSettings::NativeFormat);
    classes.setValue(u".revuredavezetest/."_s, u"RevuredAVeze.Test"_s);
    classes.setValue(u"RevuredAVeze.Test/shell/open/command/."_s, '"' + standIn() + "\" \"%1\"");
    classes.sync();
    const QString document =
        QDir::toNativeSeparators(m_folder->filePath(u"a b.revuredavezetest"_s));
    QVERIFY(QFile(document).open(QIODevice::WriteOnly));
    const Outcome opened = m_starter->open(document);
    classes.remove(u".revuredavezetest"_s);
    classes.remove(u"RevuredAVeze.Test"_s);
    QVERIFY2(opened.ok(), qPrintable(opened.why()));
    QTRY_COMPARE(records().mid(2),
                 (QStringList{'"' + standIn() + "\" \"" + document + '"', u"maximized"_s}));
}

void tst_WindowsPlatform::failedStartsGiveTheSystemsReason()
{
    // Each names what could not be started, in the system's words; a copy is logged too.
    const QString notFound = qt_error_string(ERROR_FILE_NOT_FOUND);
    const QString missing = QDir::toNativeSeparators(m_folder->filePath(u"gone.pdf"_s));
    QCOMPARE(m_starter->open(missing).why(), missing + " could not be opened: " + notFound);
    const QString line = u"nosuchviewer.exe C:\\x.txt"_s;
    QCOMPARE(m_starter->start({line, {}, {}}).why(), line + " could not be started: " + notFound);

    ProgramStart copy = copyCommand(2, u"C:\\a"_s, u"C:\\b"_s);
    copy.commandLine.replace(u"xcopy.exe"_s, u"nosuchcopy.exe"_s);
    const QString reason = m_starter->startCopy(copy).why();
    QVERIFY2(reason.startsWith(u"nosuchcopy.exe could not be started: "_s) &&
                 reason.contains(notFound),
             qPrintable(reason));
    QVERIFY(logText().startsWith("==== Folder pair 2: " + copy.commandLine + "\nStarted "));
    QVERIFY(logText().endsWith(", not started: " + reason + "\n\n"));
    QVERIFY(records().isEmpty());
}

void tst_WindowsPlatform::runLogIsInTheLocalApplicationData()
{
    QCOMPARE(RunLog::defaultPath(),
             qEnvironmentVariable("LOCALAPPDATA") + u"\\RevuredAVeze\\xcopy.log"_s);

    const RunLog log(m_log);
    QVERIFY(log.append({u"Folder pair 1: xcopy.exe"_s, {}, "output\n", {}, u"exit status 0."_s})
                .ok());
    QVERIFY(logText().startsWith(u"==== Folder pair 1: xcopy.exe\n"_s));
}

void tst_WindowsPlatform::drivesAreTheDriveLetters()
{
    // Each drive shows its letter and opens at its root, as C: does.
    QStringList labels;
    for (const Drive &drive : makeDrives()->list()) {
        labels.append(drive.label);
        QCOMPARE(drive.root, drive.label.toUpper() + '\\');
        QVERIFY(QFileInfo(drive.root).isDir());
    }
    QVERIFY2(labels.contains(u"c:"_s), qPrintable(labels.join(' ')));
}

QTEST_MAIN(tst_WindowsPlatform)
#include "tst_windowsplatform.moc"
