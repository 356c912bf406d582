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

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_WindowsPlatform : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;
    const QString m_log = m_folder.filePath(u"xcopy.log"_s);
    WindowsProgramStarter m_starter{m_log};

    // The stand-ins' record: the command line and window state of each start.
    QStringList records() const
    {
        return QString::fromUtf8(contents(m_folder.filePath(u"record"_s)))
            .split('\n', Qt::SkipEmptyParts);
    }

  private slots:
    void initTestCase()
    {
        qputenv("STAND_IN_RECORD",
                QDir::toNativeSeparators(m_folder.filePath(u"record"_s)).toUtf8());
    }
    void init() { QFile::remove(m_folder.filePath(u"record"_s)); }

    // Blanks and quotes in a path, and a path that looks like a switch, reach the copy as they
    // stand, under its caption in the run log.
    void copyGetsItsWholeLine()
    {
        const ProgramStart start = copyCommand(3, u"C:\\My Files\\say \"hi\""_s, u"/s"_s);
        QVERIFY(m_starter.startCopy(start).ok());
        QTRY_COMPARE(records(), (QStringList{start.commandLine, u"hidden"_s}));
        QTRY_VERIFY(contents(m_log).endsWith(", exit status 0. The copy is done.\n\n"));
        QVERIFY(contents(m_log).startsWith(("==== Folder pair 3: " + start.commandLine).toUtf8()));
    }

    // Notepad, found by the system's search, and a document's program, the one Windows
    // associates with its type, start maximized; what cannot be started or opened says why.
    void programsStartMaximized()
    {
        const QString notepad = u"notepad.exe C:\\Program Files\\RevuredAVeze\\XCopyInstruct.txt"_s;
        QVERIFY(m_starter.start({notepad, u"xdg-open"_s, {}}).ok());
        QTRY_COMPARE(records(), (QStringList{notepad, u"maximized"_s}));

        const QString standIn =
            QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + u"/notepad.exe"_s);
        QSettings classes(u"HKEY_CLASSES_ROOT\\"_s, QSettings::NativeFormat);
        classes.setValue(u".revuredavezetest/."_s, u"RevuredAVeze.Test"_s);
        classes.setValue(u"RevuredAVeze.Test/shell/open/command/."_s, '"' + standIn + "\" \"%1\"");
        classes.sync();
        const QString document =
            QDir::toNativeSeparators(m_folder.filePath(u"a b.revuredavezetest"_s));
        QVERIFY(QFile(document).open(QIODevice::WriteOnly));
        const Outcome opened = m_starter.open(document);
        classes.remove(u".revuredavezetest"_s);
        classes.remove(u"RevuredAVeze.Test"_s);
        QVERIFY2(opened.ok(), qPrintable(opened.why()));
        QTRY_COMPARE(records().mid(2),
                     (QStringList{'"' + standIn + "\" \"" + document + '"', u"maximized"_s}));

        const QString notFound = qt_error_string(ERROR_FILE_NOT_FOUND);
        const QString missing = QDir::toNativeSeparators(m_folder.filePath(u"gone.pdf"_s));
        QCOMPARE(m_starter.open(missing).why(), missing + " could not be opened: " + notFound);
        const QString line = u"nosuchviewer.exe C:\\x.txt"_s;
        QCOMPARE(m_starter.start({line, {}, {}}).why(),
                 line + " could not be started: " + notFound);
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
