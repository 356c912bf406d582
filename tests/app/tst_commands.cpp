// What the main window's commands open and start: the add-folder dialog, the About window, the
// Help entries' documents and the copy run with its notice.
#include "windowfixture.h"

#include "controls/drivelist.h"
#include "controls/folderlist.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace {
// The dialogs, the About window and the run notices are windows of their own, found by class.
QWidgetList openWindows(const char *className)
{
    QWidgetList found;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->inherits(className))
            found.append(window);
    return found;
}
} // namespace

class tst_Commands : public QObject
{
    Q_OBJECT

  private slots:
    // They outlive the main window by design, so each test removes the ones it left open.
    void cleanup()
    {
        for (const char *window : {"frmAddDir", "frmAbout", "frmXcopyNotify"})
            qDeleteAll(openWindows(window));
    }

    // One add-folder dialog however often opened, its text following the picked drive and
    // folder. It creates exactly the folder named there; every refusal names the folder and the
    // reason, and the dialog stays open until Done or Cancel closes it. One About window too,
    // until OK closes it. (A drive that cannot be read is tst_pairs' matter: the lists are the
    // main window's.)
    void addFolderDialog()
    {
        QTemporaryDir parent;
        WindowFixture f;
        // The first drive holds the current folder: "/", or on Windows its drive, such as "C:/".
        const QString root = QDir::currentPath().section('/', 0, 0) + '/';
        f.drives.drives = {{root, root}, {parent.path(), "parent"}};
        f.open().show();
        QTest::mouseClick(f.find<QPushButton>("cmdCreateDir"), Qt::LeftButton);
        const QPointer<QWidget> dialog = openWindows("frmAddDir").value(0);
        auto *text = dialog->findChild<QLineEdit *>("Text1");
        QCOMPARE(QApplication::activeModalWidget(), nullptr); // the main window stays usable
        // It starts in the current folder, with the text left for the user.
        QCOMPARE(dialog->findChild<FolderList *>("Dir1")->path(),
                 QDir::toNativeSeparators(QDir::currentPath()));
        QCOMPARE(text->text(), QString());

        // A picked drive moves the folder list there and the text follows.
        QTest::keyClick(dialog->findChild<DriveList *>("Drive1"), Qt::Key_Down);
        QCOMPARE(text->text(), QDir::toNativeSeparators(parent.path()));

        // The last two create the same folder: the second time it exists already.
        const QString made = parent.filePath("New folder");
        const QString orphan = parent.filePath("missing/new");
        for (const QString &path : {QString(), QStringLiteral("new"), orphan, made, made}) {
            text->setText(path);
            dialog->findChild<QPushButton *>("Command2")->click();
        }
        QCOMPARE(f.messages.shown,
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

        // Done closes it, and so does Cancel in the dialog opened after it; OK the About window.
        for (const auto &[command, button] :
             {std::pair("mnuCreateDir", "Command1"), std::pair("mnuCreateDir", "Command3"),
              std::pair("mnuAbout", "cmdOK")}) {
            f.find<QAction>(command)->trigger();
            f.find<QAction>(command)->trigger();
            const QWidgetList shown = openWindows("frmAddDir") + openWindows("frmAbout");
            QCOMPARE(shown.size(), 1);
            const QPointer<QWidget> window = shown[0];
            QVERIFY(window->isVisible());
            window->findChild<QPushButton *>(button)->click();
            QTRY_VERIFY(window.isNull());
        }
    }

    // Each Help entry opens the document the build installs: the pdf in the desktop's viewer for
    // it, the text by a program given the document. A document that cannot be opened is said with
    // the reason.
    void helpEntriesOpenTheInstructions()
    {
        WindowFixture f;
        f.open();
        const QString pdf = f.installFolder.filePath(QFileInfo(INSTRUCTIONS_PDF).fileName());
        const QString text = f.installFolder.filePath(QFileInfo(INSTRUCTIONS_TEXT).fileName());
        for (const QString failure : {"", "not found"}) {
            f.programs.failure = [failure](const ProgramStart &) { return failure; };
            f.find<QAction>("mnuSyncInstruct")->trigger();
            f.find<QAction>("mnuSyncInstructTxt")->trigger();
        }
        QCOMPARE(f.programs.opened.value(0).program, pdf);
        QCOMPARE(f.programs.started.value(0).arguments, QStringList{text});
        for (const QString &document : {pdf, text})
            QVERIFY(f.messages.shown.contains("The instructions " +
                                              QDir::toNativeSeparators(document) +
                                              " could not be opened: not found."));
    }

    // On the window, a refused run says why and puts the focus in the first box. A run that
    // starts shows a notice of when it ran; a new run replaces the notice.
    // What could not start is said in one box that waits for nobody and takes what a later run
    // has to say (that a run says it there is tst_mainwindow's matter).
    void copyRun()
    {
        WindowFixture f;
        f.open();
        f.find<QLineEdit>("Text4")->setFocus();
        f.window().Command1_Click();
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.window().focusWidget(), f.find<QLineEdit>("Text1"));

        f.type("Text1", "/from");
        f.type("Text2", f.at("to"));
        f.click("Check1");
        f.clock.set({QDate(2026, 12, 31), QTime(13, 5, 9)});
        f.find<QAction>("mnuSync")->trigger();

        QCOMPARE(f.programs.copies.size(), 1);
        QCOMPARE(openWindows("frmXcopyNotify").size(), 1);
        QCOMPARE(openWindows("frmXcopyNotify")[0]->findChild<QLabel *>("Label3")->text(),
                 QStringLiteral("1:05:09 PM"));

        f.clock.set({QDate(2026, 12, 31), QTime(13, 6, 39)});
        f.window().Command1_Click();
        QTRY_COMPARE(openWindows("frmXcopyNotify").size(), 1);
        QCOMPARE(openWindows("frmXcopyNotify")[0]->findChild<QLabel *>("Label3")->text(),
                 QStringLiteral("1:06:39 PM"));

        QtMessageBoxes boxes(QStringLiteral("RevuredAVeze"));
        boxes.notify(QStringLiteral("Folder pair 4 was not copied: gone"));
        boxes.notify(QStringLiteral("Folder pair 5 was not copied: gone"));
        QCOMPARE(openWindows("QMessageBox").size(), 1);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(qobject_cast<QMessageBox *>(openWindows("QMessageBox")[0])->text(),
                 "Folder pair 4 was not copied: gone\n\nFolder pair 5 was not copied: gone");
    }
};

QTEST_MAIN(tst_Commands)
#include "tst_commands.moc"
