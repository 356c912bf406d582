#include "windowfixture.h"

#include "controls/drivelist.h"
#include "controls/folderlist.h"
#include "dialogs/frmabout.h"
#include "dialogs/frmadddir.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {
const QString kSuccess = QStringLiteral("Your folder has been successfully created.");

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
}

// The add-folder dialog and the About window are top-level windows of their own, found by class.
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
    }
    QLineEdit *text() const { return dialog->findChild<QLineEdit *>("Text1"); }
    void press(const char *button)
    {
        QTest::mouseClick(dialog->findChild<QPushButton *>(button), Qt::LeftButton);
    }
    void create(const QString &path)
    {
        text()->setText(path);
        press("Command2");
    }

    QPointer<frmAddDir> dialog;
};
} // namespace

class tst_Dialogs : public QObject
{
    Q_OBJECT

  private slots:
    // Both outlive the main window by design, so each test removes the ones it left open.
    void cleanup()
    {
        qDeleteAll(openWindows<frmAddDir>());
        qDeleteAll(openWindows<frmAbout>());
    }

    // One dialog however often opened, creating folders until Done or Cancel; then a fresh one.
    void addFolderDialog_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("Done") << "Command1";
        QTest::newRow("Cancel") << "Command3";
    }

    void addFolderDialog()
    {
        QFETCH(QString, button);
        QTemporaryDir parent;
        AddDirFixture f;
        QCOMPARE(f.dialog->windowTitle(), QStringLiteral("Add A Directory"));
        QCOMPARE(QApplication::activeModalWidget(), nullptr); // the main window stays usable
        QStringList whenConfirmed;
        f.messages.whileShown = [&] { whenConfirmed = entries(parent.path()); };

        f.dialog->findChild<FolderList *>("Dir1")->setPath(parent.path());
        QTest::keyClicks(f.text(), QDir::separator() + QStringLiteral("First"));
        f.press("Command2");
        QCOMPARE(whenConfirmed, QStringList{"First"}); // confirmed once it exists
        // Opened again by the button and by the menu entry: the same dialog, its text kept.
        QTest::mouseClick(f.find<QPushButton>("cmdCreateDir"), Qt::LeftButton);
        f.find<QAction>("mnuCreateDir")->trigger();
        QCOMPARE(openWindows<frmAddDir>(), QList<frmAddDir *>{f.dialog.data()});
        QCOMPARE(f.text()->text(), parent.filePath("First"));
        f.create(parent.filePath("Second folder"));
        QCOMPARE(f.messages.shown, QStringList(2, kSuccess));
        QCOMPARE(whenConfirmed, (QStringList{"First", "Second folder"}));

        f.press(qPrintable(button));
        QTRY_VERIFY(f.dialog.isNull());
        f.find<QAction>("mnuCreateDir")->trigger();
        QCOMPARE(openWindows<frmAddDir>().size(), 1);
        QCOMPARE(openWindows<frmAddDir>().first()->findChild<QLineEdit *>("Text1")->text(),
                 QString());
    }

    void textFollowsTheFolderList()
    {
        QTemporaryDir other;
        QVERIFY(QDir(other.path()).mkdir("inner"));
        const QString missing = QTemporaryDir().path(); // removed again at once
        AddDirFixture f({{"/", "/"}, {other.path(), "other"}, {missing, "no medium"}});
        auto *folders = f.dialog->findChild<FolderList *>("Dir1");
        auto *drive = f.dialog->findChild<DriveList *>("Drive1");
        QCOMPARE(folders->path(), QDir::currentPath());

        // Picking a drive moves the folder list there, and the text follows, replacing typed text.
        QTest::keyClicks(f.text(), "typed by the user");
        QTest::keyClick(drive, Qt::Key_Down);
        QCOMPARE(f.text()->text(), other.path());
        folders->setPath(other.filePath("inner"));
        QCOMPARE(f.text()->text(), other.filePath("inner"));

        // A drive that cannot be read is reported; the drive, folder list and text stay.
        const QStringList before{drive->drive(), folders->path(), f.text()->text()};
        QTest::keyClick(drive, Qt::Key_Down);
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY2(f.messages.shown[0].contains(missing), qPrintable(f.messages.shown[0]));
        QCOMPARE((QStringList{drive->drive(), folders->path(), f.text()->text()}), before);
    }

    void aFolderThatCannotBeCreatedIsReported_data()
    {
        // %1 is a folder of the test's own, holding only the folder "existing".
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char *name, const QString &path, const QString &reason) {
            QTest::newRow(name) << path << reason;
        };
        row("empty", "", "Complete the path");
        row("exists already", "%1/existing", "exists already");
        row("parent missing", "%1/missing/new", "No such file or directory");
        row("invalid name", "%1/" + QString(300, 'n'), "File name too long");
        row("not a full path", "new", "not a full path");
        row("not writable", "/sys/revuredaveze-new", "");
    }

    void aFolderThatCannotBeCreatedIsReported()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QTemporaryDir owned;
        QVERIFY(QDir(owned.path()).mkdir("existing"));
        path.replace("%1", owned.path());

        AddDirFixture f;
        f.create(path);
        QCOMPARE(f.messages.shown.size(), 1);
        const QString message = f.messages.shown.first();
        QVERIFY2(message != kSuccess && message.contains(reason) && message.contains(path),
                 qPrintable(message));
        QVERIFY(f.dialog->isVisible());
        QCOMPARE(f.text()->text(), path);
        QCOMPARE(entries(owned.path()), QStringList{"existing"});
        QVERIFY(!QFileInfo::exists("new") && !QFileInfo::exists("/sys/revuredaveze-new"));
    }

    void oneAboutWindowShowingTheProgramsTexts()
    {
        WindowFixture f;
        f.open().show();
        QAction *about = f.find<QAction>("mnuAbout");
        about->trigger();
        about->trigger();
        QCOMPARE(openWindows<frmAbout>().size(), 1);
        const QPointer<frmAbout> window = openWindows<frmAbout>().first();
        QVERIFY(window->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);

        const auto label = [&](const char *name) {
            return window->findChild<QLabel *>(name)->text();
        };
        QCOMPARE(window->windowTitle(), QStringLiteral("About RevuredAVeze"));
        QCOMPARE(label("lblTitle"), QStringLiteral("RevuredAVeze"));
        QCOMPARE(label("lblVersion"), QStringLiteral("Version " BUILD_VERSION));
        QCOMPARE(
            label("lblDescription"),
            QStringLiteral("Tolvan's XCopy allows users to quickly copy folders, subfolders and "
                           "their files. It is ideal for creating a copy to a second drive.  "
                           "Copy  up to 7 Folders, their subfolders and files,  either manually "
                           "or at set time intervals."));
        // Two short sentences: the terms of use, and where to report problems.
        const QRegularExpression twoSentences(
            QStringLiteral("^[^.]+\\. [^.]*report[^.]* (www\\.)?\\w+(\\.\\w+)+\\S*\\.$"));
        QVERIFY2(twoSentences.match(label("lblDisclaimer")).hasMatch(),
                 qPrintable(label("lblDisclaimer")));

        QTest::mouseClick(window->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(window.isNull());
        // Opened again, it does not depend on the main window.
        about->trigger();
        f.window().close();
        QTRY_VERIFY(!f.isOpen());
        QCOMPARE(openWindows<frmAbout>().size(), 1);
        QVERIFY(openWindows<frmAbout>().first()->isVisible());
    }
};

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
