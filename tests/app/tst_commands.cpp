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
    // document; a viewer that cannot be started is reported with the reason. On Windows the
    // command line is started, except that the pdf opens in the program Windows associates with
    // it, as Internet Explorer is gone.
    void helpEntriesStartTheInstructions_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("commandLine");
#ifdef Q_OS_WIN
        QTest::newRow("pdf") << "mnuSyncInstruct"
                             << "XCopyInstuctions.pdf" << QString();
#else
        QTest::newRow("pdf") << "mnuSyncInstruct"
                             << "XCopyInstuctions.pdf"
                             << "C:\\Program Files\\Internet Explorer\\iexplore.exe C:\\Program "
                                "Files\\RevuredAveze\\XCopyInstuctions.pdf";
#endif
        QTest::newRow("txt") << "mnuSyncInstructTxt"
                             << "XCopyInstruct.txt"
                             << "notepad.exe C:\\Program Files\\RevuredAVeze\\XCopyInstruct.txt";
    }

    void helpEntriesStartTheInstructions()
    {
        QFETCH(QString, entry);
        QFETCH(QString, document);
        QFETCH(QString, commandLine);
        WindowFixture f;
        f.open();
        const QString path = QDir::toNativeSeparators(f.installFolder.filePath(document));

        f.find<QAction>(entry)->trigger();
        const ProgramStart started = f.programs.started.value(0);
        QCOMPARE(started.commandLine, commandLine);
        if (commandLine.isEmpty()) {
            QCOMPARE(started.program, path);
        } else {
            QCOMPARE(started.program, QStringLiteral("xdg-open"));
            QCOMPARE(started.arguments, QStringList{QDir::fromNativeSeparators(path)});
        }
        QVERIFY(started.state == WindowState::MaximizedFocus);

        f.programs.failure = [](const ProgramStart &) { return QStringLiteral("not found"); };
        f.find<QAction>(entry)->trigger();
        QCOMPARE(f.messages.shown,
                 QStringList{"The instructions " + path + " could not be opened: not found."});
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

    // Without a locked pair or without any path the run is refused, the first box focused.
    // Locked pairs start in their order with the texts their boxes hold now, empty ones too; a
    // pair that cannot start is reported and the run goes on to its end. In the automatic mode
    // the next copy date moves on, and a notice tells when the run was; a new run replaces it.
    void copyRun()
    {
        WindowFixture f;
        f.open();
        const auto box = [&f](int n) { return f.find<QLineEdit>(QStringLiteral("Text%1").arg(n)); };
        const auto fill = [&](int pair, const QString &from, const QString &to, bool locked) {
            box(2 * pair - 1)->setText(from);
            box(2 * pair)->setText(to);
            f.find<QCheckBox>(QStringLiteral("Check%1").arg(pair))->setChecked(locked);
        };
        f.find<QCheckBox>("ckUseTimer")->setChecked(true);
        f.find<QComboBox>("cmbDays")->setCurrentText("7");
        // Refused with every pair locked but no path, then with every To path but none locked.
        for (const bool locked : {true, false}) {
            for (int pair = 1; pair <= 7; ++pair)
                fill(pair, {}, locked ? QString() : QStringLiteral("/data"), locked);
            box(4)->setFocus();
            f.window().Command1_Click();
            QCOMPARE(f.window().focusWidget(), box(1));
        }
        QCOMPARE(f.messages.shown,
                 QStringList(2, "You cannot Xcopy unless at least 1 set of paths have been entered "
                                "and locked in by checking the box next to the paths."));
        QVERIFY(f.programs.started.isEmpty());

        for (int pair : {3, 1, 2})
            fill(pair, QStringLiteral("/f%1").arg(pair), QStringLiteral("/t%1").arg(pair), true);
        fill(6, {}, {}, true);
        box(5)->setText(QStringLiteral("/f3 edited after the lock"));
        f.programs.failure = [](const ProgramStart &start) {
            return start.arguments.value(0) == "/f2" ? QStringLiteral("gone") : QString();
        };
        f.clock.set({QDate(2026, 12, 31), QTime(13, 5, 9)});

        f.find<QAction>("mnuSync")->trigger();

        QCOMPARE(f.messages.shown.mid(2), QStringList{"Folder pair 2 was not copied: gone"});
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
