// What the main window's commands open and start: the add-folder dialog, the About window, the
// Help entries' documents and the copy run with its notice.
#include "windowfixture.h"

#include "controls/drivelist.h"
#include "controls/folderlist.h"
#include "copy/frmxcopynotify.h"
#include "dialogs/frmabout.h"
#include "dialogs/frmadddir.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {
// The dialogs, the About window and the run notices are windows of their own, found by class.
template <typename T> QList<T *> openWindows()
{
    QList<T *> found;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *wanted = qobject_cast<T *>(window))
            found.append(wanted);
    }
    return found;
}

// A main window with the add-folder dialog opened from it.
struct AddDirFixture : WindowFixture
{
    explicit AddDirFixture(const QList<Drive> &driveList = {{"/", "/"}})
    {
        drives.drives = driveList;
        open().show();
        window().cmdCreateDir_Click();
        dialog = openWindows<frmAddDir>().value(0);
        text = dialog->findChild<QLineEdit *>("Text1");
    }

    QPointer<frmAddDir> dialog;
    QLineEdit *text;
};

// A main window whose pairs the tests fill and lock.
struct RunFixture : WindowFixture
{
    RunFixture() { open(); }
    QLineEdit *box(int n) const { return find<QLineEdit>(QStringLiteral("Text%1").arg(n)); }
    void fill(int pair, const QString &from, const QString &to, bool locked = true)
    {
        box(2 * pair - 1)->setText(from);
        box(2 * pair)->setText(to);
        find<QCheckBox>(QStringLiteral("Check%1").arg(pair))->setChecked(locked);
    }
};

// The characters of a text without the lines matching `dropped`, line breaks and blanks (the pdf
// may break a long path after a slash), with typographic ligatures taken apart.
QString printedCharacters(const QByteArray &utf8, const char *dropped)
{
    return QString::fromUtf8(utf8)
        .remove(QRegularExpression(dropped, QRegularExpression::MultilineOption))
        .normalized(QString::NormalizationForm_KC)
        .remove(QRegularExpression("\\s+"));
}
} // namespace

class tst_Commands : public QObject
{
    Q_OBJECT

  private slots:
    // They outlive the main window by design, so each test removes the ones it left open.
    void cleanup()
    {
        qDeleteAll(openWindows<frmAddDir>());
        qDeleteAll(openWindows<frmAbout>());
        qDeleteAll(openWindows<frmXcopyNotify>());
    }

    // One dialog however often opened, its text following the picked drive and folder; it
    // creates the folder named there and keeps its text until Done closes it.
    void addFolderDialog()
    {
        QTemporaryDir parent;
        const QString missing = QTemporaryDir().path(); // removed again at once
        AddDirFixture f({{"/", "/"}, {parent.path(), "parent"}, {missing, "no medium"}});
        QCOMPARE(f.dialog->windowTitle(), QStringLiteral("Add A Directory"));
        QCOMPARE(QApplication::activeModalWidget(), nullptr); // the main window stays usable
        // It starts in the current folder, with the text left for the user.
        QCOMPARE(f.dialog->findChild<FolderList *>("Dir1")->path(), QDir::currentPath());
        QCOMPARE(f.text->text(), QString());

        // A picked drive moves the folder list there and the text follows; a drive that cannot
        // be read is reported.
        auto *drive = f.dialog->findChild<DriveList *>("Drive1");
        QTest::keyClick(drive, Qt::Key_Down);
        QCOMPARE(f.text->text(), parent.path());
        QTest::keyClick(drive, Qt::Key_Down);
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY2(f.messages.shown[0].contains(missing), qPrintable(f.messages.shown[0]));

        QTest::keyClicks(f.text, "/New folder");
        f.dialog->findChild<QPushButton *>("Command2")->click();
        QCOMPARE(QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"New folder"});
        QCOMPARE(f.messages.shown.mid(1),
                 QStringList{"Your folder has been successfully created."});
        // Opened again by the button and by the menu entry: the same dialog, its text kept.
        QTest::mouseClick(f.find<QPushButton>("cmdCreateDir"), Qt::LeftButton);
        f.find<QAction>("mnuCreateDir")->trigger();
        QCOMPARE(openWindows<frmAddDir>(), QList<frmAddDir *>{f.dialog.data()});
        QCOMPARE(f.text->text(), parent.filePath("New folder"));

        f.dialog->findChild<QPushButton *>("Command1")->click();
        QTRY_VERIFY(f.dialog.isNull());
    }

    // Every refusal names the folder and the reason; the dialog stays open with its text until
    // Cancel closes it.
    void aFolderThatCannotBeCreatedIsReported_data()
    {
        // %1 is a folder of the test's own, holding only the folder "old".
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, const char *path, const char *message) {
            QTest::newRow(name) << QString(path) << QString(message);
        };
        row("empty", "", "Complete the path for the new directory first.");
        row("exists", "%1/old", "The folder %1/old could not be created: it exists already.");
        row("parent missing", "%1/missing/new",
            "The folder %1/missing/new could not be created: No such file or directory.");
        row("not a full path", "new",
            "The folder new could not be created: the path is not a full path.");
    }

    void aFolderThatCannotBeCreatedIsReported()
    {
        QFETCH(QString, path);
        QFETCH(QString, message);
        QTemporaryDir owned;
        QVERIFY(QDir(owned.path()).mkdir("old"));
        path.replace("%1", owned.path());

        AddDirFixture f;
        f.text->setText(path);
        f.dialog->findChild<QPushButton *>("Command2")->click();
        QCOMPARE(f.messages.shown, QStringList{message.replace("%1", owned.path())});
        QVERIFY(f.dialog->isVisible());
        QCOMPARE(f.text->text(), path);
        f.dialog->findChild<QPushButton *>("Command3")->click();
        QTRY_VERIFY(f.dialog.isNull());
    }

    // One About window with the program's texts and version, until OK closes it.
    void oneAboutWindowShowingTheProgramsTexts()
    {
        WindowFixture f;
        f.open().show();
        f.find<QAction>("mnuAbout")->trigger();
        f.find<QAction>("mnuAbout")->trigger();
        QCOMPARE(openWindows<frmAbout>().size(), 1);
        const QPointer<frmAbout> window = openWindows<frmAbout>().first();
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("About RevuredAVeze"));
        QStringList texts;
        for (const char *name : {"lblTitle", "lblVersion", "lblDescription", "lblDisclaimer"})
            texts.append(window->findChild<QLabel *>(name)->text());
        QCOMPARE(texts,
                 (QStringList{"RevuredAVeze", "Version " BUILD_VERSION,
                              "Tolvan's XCopy allows users to quickly copy folders, subfolders and "
                              "their files. It is ideal for creating a copy to a second drive.  "
                              "Copy  up to 7 Folders, their subfolders and files,  either "
                              "manually or at set time intervals.",
                              "This program is provided as is, without warranty of any kind; you "
                              "use it at your own risk. Please report problems at "
                              "www.revuredaveze.example.org."}));
        window->findChild<QPushButton *>("cmdOK")->click();
        QTRY_VERIFY(window.isNull());
    }

    // Each Help entry starts its fixed command line, here the desktop's viewer on the installed
    // document; a viewer that cannot be started is reported with the reason.
    void helpEntriesStartTheInstructions_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("commandLine"); // ends with the document the entry opens
        QTest::newRow("pdf") << "mnuSyncInstruct"
                             << "C:\\Program Files\\Internet Explorer\\iexplore.exe C:\\Program "
                                "Files\\RevuredAveze\\XCopyInstuctions.pdf";
        QTest::newRow("txt") << "mnuSyncInstructTxt"
                             << "notepad.exe C:\\Program Files\\RevuredAVeze\\XCopyInstruct.txt";
    }

    void helpEntriesStartTheInstructions()
    {
        QFETCH(QString, entry);
        QFETCH(QString, commandLine);
        WindowFixture f;
        f.open();
        const QString path = f.installFolder.filePath(commandLine.section('\\', -1));

        f.find<QAction>(entry)->trigger();
        const ProgramStart started = f.programs.started.value(0);
        QCOMPARE(started.commandLine, commandLine);
        QCOMPARE(started.program, QStringLiteral("xdg-open"));
        QCOMPARE(started.arguments, QStringList{path});
        QVERIFY(started.state == WindowState::MaximizedFocus);
        QCOMPARE(f.messages.shown, QStringList());

        f.programs.failure = [](const ProgramStart &) { return QStringLiteral("not found"); };
        f.find<QAction>(entry)->trigger();
        QCOMPARE(f.messages.shown,
                 QStringList{"The instructions " + path + " could not be opened: not found."});
    }

    // The pdf instructions hold the words of the text instructions, in order.
    void pdfHoldsTheTextInOrder()
    {
        QFile text(QStringLiteral(INSTRUCTIONS_TEXT));
        QVERIFY2(text.open(QIODevice::ReadOnly), qPrintable(text.errorString()));
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-enc", "UTF-8", INSTRUCTIONS_PDF, "-"});
        QVERIFY2(pdftotext.waitForFinished(), qPrintable(pdftotext.errorString()));
        QCOMPARE(pdftotext.exitCode(), 0);

        // The text underlines its headings, which the pdf sets as headings instead; the pdf puts
        // page numbers on lines of their own.
        const QString plain = printedCharacters(text.readAll(), "^[=-]+$");
        QVERIFY(plain.size() > 5000);
        QCOMPARE(printedCharacters(pdftotext.readAllStandardOutput(), "^\\d+$"), plain);
    }

    // Without a locked pair or without any path the run is refused, the first box focused.
    void refusedWithoutLockOrPath_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::newRow("every path filled, nothing locked") << false;
        QTest::newRow("pairs locked, every path empty") << true;
    }

    void refusedWithoutLockOrPath()
    {
        QFETCH(bool, locked);
        RunFixture f;
        for (int pair = 1; pair <= 7; ++pair)
            f.fill(pair, {}, locked ? QString() : QStringLiteral("/data"), locked);
        f.box(4)->setFocus();

        f.window().Command1_Click();

        QCOMPARE(f.messages.shown,
                 QStringList{"You cannot Xcopy unless at least 1 set of paths have been entered "
                             "and locked in by checking the box next to the paths."});
        QCOMPARE(f.window().focusWidget(), f.box(1));
        QVERIFY(f.programs.started.isEmpty());
    }

    // Locked pairs start in their order with the texts their boxes hold now, empty ones too; a
    // pair that cannot start is reported and the run goes on to its end. In the automatic mode
    // the next copy date moves on, and a notice tells when the run was; a new run replaces it.
    void runStartsTheLockedPairs()
    {
        RunFixture f;
        f.find<QCheckBox>("ckUseTimer")->setChecked(true);
        f.find<QComboBox>("cmbDays")->setCurrentText("7");
        for (int pair : {3, 1, 2})
            f.fill(pair, QStringLiteral("/f%1").arg(pair), QStringLiteral("/t%1").arg(pair));
        f.fill(6, {}, {});
        f.box(5)->setText(QStringLiteral("/f3 edited after the lock"));
        f.programs.failure = [](const ProgramStart &start) {
            return start.arguments.value(0) == "/f2" ? QStringLiteral("gone") : QString();
        };
        f.clock.set({QDate(2026, 12, 31), QTime(13, 5, 9)});

        f.find<QAction>("mnuSync")->trigger();

        QCOMPARE(f.messages.shown, QStringList{"Folder pair 2 was not copied: gone"});
        QStringList started;
        for (const ProgramStart &start : f.programs.started)
            started.append(start.commandLine);
        QCOMPARE(started, (QStringList{R"(xcopy.exe "/f1" "/t1" /D /Y /S)",
                                       R"(xcopy.exe "/f3 edited after the lock" "/t3" /D /Y /S)",
                                       R"(xcopy.exe "" "" /D /Y /S)"}));
        QCOMPARE(f.find<QLabel>("lblNextDate")->text(), QStringLiteral("3/12/2026"));
        QCOMPARE(openWindows<frmXcopyNotify>().size(), 1);
        QStringList texts{openWindows<frmXcopyNotify>()[0]->windowTitle()};
        for (const char *name : {"Label1", "Label3", "Label4", "Label2"})
            texts.append(openWindows<frmXcopyNotify>()[0]->findChild<QLabel *>(name)->text());
        QCOMPARE(texts, (QStringList{"XCopy Notify", "XCopy ran on your selected folders at:",
                                     "1:05:09 PM", "on", "12/31/2026"}));

        f.clock.advance(90 * 1000);
        f.window().Command1_Click();
        QTRY_COMPARE(openWindows<frmXcopyNotify>().size(), 1);
        QCOMPARE(openWindows<frmXcopyNotify>()[0]->findChild<QLabel *>("Label3")->text(),
                 QStringLiteral("1:06:39 PM"));
    }
};

QTEST_MAIN(tst_Commands)
#include "tst_commands.moc"
