// The Windows program start, for real, with stand-ins (standin_windows.cpp) for the programs it
// starts beside this test, where the system's search finds them first: a copy gets its whole
// command line as it stands, its console hidden; Notepad and a document's program start
// maximized; a failed start gives the system's reason. Also the drive letters. How a copy runs in
// its window is tst_copywindow's, on every system.
#include "copy/copycommand.h"
#include "platform/drives.h"
#include "platform/windowsprogramstarter.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <windows.h>

using namespace Qt::StringLiterals;

class tst_WindowsPlatform : public QObject
{
    Q_OBJECT

  private slots:
    // A copy gets its whole command line as it stands (blanks and quotes in a path, a path that
    // looks like a switch), its console hidden; Notepad, found by the system's search, and a
    // document's program, the one Windows associates with its type, start maximized. What cannot
    // be started or opened says why in the system's words.
    void startsEachProgramInItsWindow()
    {
        QTemporaryDir folder;
        WindowsProgramStarter starter(folder.filePath(u"xcopy.log"_s));
        const QString record = folder.filePath(u"record"_s);
        qputenv("STAND_IN_RECORD", QDir::toNativeSeparators(record).toUtf8());
        // The stand-ins' record: the command line and window state of each start.
        const auto records = [&] {
            QFile file(record);
            return file.open(QIODevice::ReadOnly)
                       ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)
                       : QStringList();
        };
        const ProgramStart copy = copyCommand(3, u"C:\\My Files\\say \"hi\""_s, u"/s"_s);
        QVERIFY(starter.startCopy(copy).ok());
        QTRY_COMPARE(records(), (QStringList{copy.commandLine, u"hidden"_s}));
        const QString notepad = u"notepad.exe C:\\Program Files\\RevuredAVeze\\XCopyInstruct.txt"_s;
        QVERIFY(starter.start({notepad, u"xdg-open"_s, {}}).ok());
        QTRY_COMPARE(records().mid(2), (QStringList{notepad, u"maximized"_s}));

        const QString standIn =
            QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + u"/notepad.exe"_s);
        QSettings classes(u"HKEY_CLASSES_ROOT\\"_s, QSettings::NativeFormat);
        classes.setValue(u".revuredavezetest/."_s, u"RevuredAVeze.Test"_s);
        classes.setValue(u"RevuredAVeze.Test/shell/open/command/."_s, '"' + standIn + "\" \"%1\"");
        classes.sync();
        const QString document =
            QDir::toNativeSeparators(folder.filePath(u"a b.revuredavezetest"_s));
        QVERIFY(QFile(document).open(QIODevice::WriteOnly));
        const Outcome opened = starter.open(document);
        classes.remove(u".revuredavezetest"_s);
        classes.remove(u"RevuredAVeze.Test"_s);
        QVERIFY2(opened.ok(), qPrintable(opened.why()));
        QTRY_COMPARE(records().mid(4),
                     (QStringList{'"' + standIn + "\" \"" + document + '"', u"maximized"_s}));

        const QString notFound = qt_error_string(ERROR_FILE_NOT_FOUND);
        const QString missing = QDir::toNativeSeparators(folder.filePath(u"gone.pdf"_s));
        QCOMPARE(starter.open(missing).why(), missing + " could not be opened: " + notFound);
        const QString line = u"nosuchviewer.exe C:\\x.txt"_s;
        QCOMPARE(starter.start({line, {}, {}}).why(), line + " could not be started: " + notFound);
    }

    // Each drive shows its letter and opens at its root, as C: does.
    void drivesAreTheDriveLetters()
    {
        QStringList labels;
        for (const Drive &drive : makeDrives()->list()) {
            labels.append(drive.label);
            QCOMPARE(drive.root, drive.label.toUpper() + '\\');
            QVERIFY(QFileInfo(drive.root).isDir());
        }
        QVERIFY2(labels.contains(u"c:"_s), qPrintable(labels.join(' ')));
    }
};

QTEST_MAIN(tst_WindowsPlatform)
#include "tst_windowsplatform.moc"
