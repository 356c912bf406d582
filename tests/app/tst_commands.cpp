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
#include <QMessageBox>
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

    // One add-folder dialog however often opened, its text following the picked drive and
    // folder. It creates exactly the folder named there; every refusal names the folder and the
    // reason, and the dialog stays open with its text until Done or Cancel closes it.
    void addFolderDialog()
    {
        QTemporaryDir parent;
        const QString unreadable = QTemporaryDir().path(); // removed again at once
        WindowFixture f;
        // The first drive holds the current folder: "/", or on Windows its drive, such as "C:/".
        const QString root = QDir::currentPath().section('/', 0, 0) + '/';
        f.drives.drives = {{root, root}, {parent.path(), "parent"}, {unreadable, "no medium"}};
        f.open().show();
        QTest::mouseClick(f.find<QPushButton>("cmdCreateDir"), Qt::LeftButton);
        const QPointer<frmAddDir> dialog = openWindows<frmAddDir>().value(0);
        auto *text = dialog->findChild<QLineEdit *>("Text1");
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Add A Directory"));
        QCOMPARE(QApplication::activeModalWidget(), nullptr); // the main window stays usable
        // It starts in the current folder, with the text left for the user.
        QCOMPARE(dialog->findChild<FolderList *>("Dir1")->path(),
                 QDir::toNativeSeparators(QDir::currentPath()));
        QCOMPARE(text->text(), QString());

        // A picked drive moves the folder list there and the text follows; a drive that cannot
        // be read is reported.
        auto *drive = dialog->findChild<DriveList *>("Drive1");
        QTest::keyClick(drive, Qt::Key_Down);
        QCOMPARE(text->text(), QDir::toNativeSeparators(parent.path()));
        QTest::keyClick(drive, Qt::Key_Down);
        QVERIFY2(f.messages.shown.value(0).contains(QDir::toNativeSeparators(unreadable)),
                 qPrintable(f.messages.shown.join('\n')));

        // The last two create the same folder: the second time it exists already.
        const QString made = parent.filePath("New folder");
        const QString orphan = parent.filePath("missing/new");
        for (const QString &path : {QString(), QStringLiteral("new"), orphan, made, made}) {
            text->setText(path);
            dialog->findChild<QPushButton *>("Command2")->click();
        }
        QCOMPARE(f.messages.shown.mid(1),
                 (QStringList{"Complete the path for the new directory first.",
                              "The folder new could not be created: the path is not a full path.",
                              "The folder " + QDir::toNativeSeparators(orphan) +
                                  " could not be created: No such file or directory.",
                              "Your folder has been successfully created.",
                              "The folder " + QDir::toNativeSeparators(made) +
                                  " could not be created: it exists already."}));
        QCOMPARE(QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"New folder"});
        QVERIFY(dialog->isVisible());
        // Opened again from the menu: the same dialog, its text kept.
        f.find<QAction>("mnuCreateDir")->trigger();
        QCOMPARE(openWindows<frmAddDir>(), QList<frmAddDir *>{dialog.data()});
        QCOMPARE(text->text(), made);

        // Done closes it, and so does Cancel in the dialog opened after it.
        for (const char *button : {"Command1", "Command3"}) {
            f.window().cmdCreateDir_Click();
            const QPointer<frmAddDir> shown = openWindows<frmAddDir>().value(0);
            shown->findChild<QPushButton *>(button)->click();
            QTRY_VERIFY(shown.isNull());
        }
    }

    // One About window, showing the program's version, until OK closes it.
    void oneAboutWindow()
    {
        WindowFixture f;
        f.open().show();
        f.find<QAction>("mnuAbout")->trigger();
        f.find<QAction>("mnuAbout")->trigger();
        QCOMPARE(openWindows<frmAbout>().size(), 1);
        const QPointer<frmAbout> window = openWindows<frmAbout>().first();
        QVERIFY(window->isVisible());
        QCOMPARE(window->findChild<QLabel *>("lblVersion")->text(), "Version " BUILD_VERSION);
        window->findChild<QPushButton *>("cmdOK")->click();
        QTRY_VERIFY(window.isNull());
    }

    // Each Help entry opens its installed document: the pdf in the desktop's viewer for it, the
    // text by Notepad's fixed command line on Windows, elsewhere by the desktop's viewer. A
    // document that cannot be opened is said with the reason.
    void helpEntriesOpenTheInstructions()
    {
        WindowFixture f;
        f.open();
        const QString pdf = f.installFolder.filePath("XCopyInstuctions.pdf");
        const QString text = f.installFolder.filePath("XCopyInstruct.txt");

        f.find<QAction>("mnuSyncInstruct")->trigger();
        f.find<QAction>("mnuSyncInstructTxt")->trigger();
        QCOMPARE(f.programs.opened, QStringList{pdf});
        const ProgramStart started = f.programs.started.value(0);
        QCOMPARE(started.commandLine,
                 "notepad.exe C:\\Program Files\\RevuredAVeze\\XCopyInstruct.txt");
        QCOMPARE(started.arguments, QStringList{text});
        QVERIFY(f.programs.copies.isEmpty());

        f.programs.failure = [](const ProgramStart &) { return QStringLiteral("not found"); };
        f.find<QAction>("mnuSyncInstruct")->trigger();
        f.find<QAction>("mnuSyncInstructTxt")->trigger();
        QCOMPARE(f.messages.shown,
                 (QStringList{"The instructions " + QDir::toNativeSeparators(pdf) +
                                  " could not be opened: not found.",
                              "The instructions " + QDir::toNativeSeparators(text) +
                                  " could not be opened: not found."}));
    }

    // The pdf instructions hold the words of the text instructions, in order.
    void pdfHoldsTheTextInOrder()
    {
#ifdef Q_OS_WIN
        QSKIP("pdftotext is a Linux tool: the Linux tests read the pdf, which is made alike");
#endif
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

    // On the window, a refused run says why and puts the focus in the first box. A run that
    // starts shows a notice of when it ran and the next copy date; a new run replaces the notice.
    // What could not start is said after that, in one box that waits for nobody and takes what
    // a later run has to say.
    void copyRun()
    {
        WindowFixture f;
        f.open();
        f.click("Check4");
        f.find<QLineEdit>("Text4")->setFocus();
        f.window().Command1_Click();
        QCOMPARE(f.messages.shown,
                 QStringList{"You cannot Xcopy unless at least 1 set of paths have been entered "
                             "and locked in by checking the box next to the paths."});
        QCOMPARE(f.window().focusWidget(), f.find<QLineEdit>("Text1"));
        QVERIFY(f.programs.copies.isEmpty());

        f.click("ckUseTimer");
        f.pick("cmbDays", "7");
        f.type("Text1", "/from");
        f.type("Text2", f.at("to"));
        f.click("Check1");
        f.programs.failure = [](const ProgramStart &start) {
            return start.caption == "Folder pair 4" ? QStringLiteral("gone") : QString();
        };
        f.clock.set({QDate(2026, 12, 31), QTime(13, 5, 9)});
        f.find<QAction>("mnuSync")->trigger();

        QCOMPARE(f.programs.copies.size(), 1);
        QCOMPARE(f.find<QLabel>("lblNextDate")->text(), QStringLiteral("3/12/2026"));
        QCOMPARE(openWindows<frmXcopyNotify>().size(), 1);
        QCOMPARE(openWindows<frmXcopyNotify>()[0]->findChild<QLabel *>("Label3")->text(),
                 QStringLiteral("1:05:09 PM"));
        QCOMPARE(f.messages.notices, QStringList{"Folder pair 4 was not copied: gone"});

        f.clock.advance(90 * 1000);
        f.window().Command1_Click();
        QTRY_COMPARE(openWindows<frmXcopyNotify>().size(), 1);
        QCOMPARE(openWindows<frmXcopyNotify>()[0]->findChild<QLabel *>("Label3")->text(),
                 QStringLiteral("1:06:39 PM"));

        QtMessageBoxes boxes(QStringLiteral("RevuredAVeze"));
        boxes.notify(f.messages.notices[0]);
        boxes.notify(QStringLiteral("Folder pair 5 was not copied: gone"));
        QCOMPARE(openWindows<QMessageBox>().size(), 1);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(openWindows<QMessageBox>()[0]->text(),
                 "Folder pair 4 was not copied: gone\n\nFolder pair 5 was not copied: gone");
    }
};

QTEST_MAIN(tst_Commands)
#include "tst_commands.moc"
