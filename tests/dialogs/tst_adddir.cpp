#include "toplevelwindows.h"
#include "windowfixture.h"

#include "dialogs/frmadddir.h"
#include "pairs/drivelist.h"
#include "pairs/folderlist.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
const QString kSuccess = QStringLiteral("Your folder has been successfully created.");

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
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
    template <typename T> T *control(const char *name) const
    {
        return dialog->findChild<T *>(QLatin1String(name));
    }
    QLineEdit *text() const { return control<QLineEdit>("Text1"); }
    void press(const char *button)
    {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }

    QPointer<frmAddDir> dialog;
};
} // namespace

class tst_AddDir : public QObject
{
    Q_OBJECT

  private slots:
    void cleanup() { deleteWindows<frmAddDir>(); }

    void oneDialogHoweverOftenOpened();
    void textFollowsTheFolderList();
    void aDriveThatCannotBeReadIsReported();
    void createsFoldersInsideTheChosenParent();
    void aFolderThatCannotBeCreatedIsReported_data();
    void aFolderThatCannotBeCreatedIsReported();
    void doneCancelAndCloseBoxCloseIt_data();
    void doneCancelAndCloseBoxCloseIt();
    void keepsTheProgramRunningAfterTheMainWindowCloses();
};

void tst_AddDir::oneDialogHoweverOftenOpened()
{
    AddDirFixture f;
    QVERIFY(f.dialog->isVisible());
    QCOMPARE(f.dialog->windowTitle(), QStringLiteral("Add A Directory"));
    QCOMPARE(QApplication::activeModalWidget(), nullptr); // the main window stays usable
    QCOMPARE(f.text()->text(), QString());
    f.text()->setText(QStringLiteral("typed"));

    // Opened again by the button and by the menu entry: the same dialog, its text kept.
    QTest::mouseClick(f.find<QPushButton>(QStringLiteral("cmdCreateDir")), Qt::LeftButton);
    f.find<QAction>(QStringLiteral("mnuCreateDir"))->trigger();
    QCOMPARE(openWindows<frmAddDir>(), QList<frmAddDir *>{f.dialog.data()});
    QCOMPARE(f.text()->text(), QStringLiteral("typed"));

    // Closed and opened again: a fresh dialog with an empty text.
    f.dialog->close();
    QTRY_VERIFY(f.dialog.isNull());
    f.find<QAction>(QStringLiteral("mnuCreateDir"))->trigger();
    QCOMPARE(openWindows<frmAddDir>().size(), 1);
    QCOMPARE(openWindows<frmAddDir>().first()->findChild<QLineEdit *>("Text1")->text(), "");
}

void tst_AddDir::textFollowsTheFolderList()
{
    QTemporaryDir otherDrive;
    QVERIFY(QDir(otherDrive.path()).mkdir(QStringLiteral("inner")));
    AddDirFixture f({{"/", "/"}, {otherDrive.path(), "other"}});
    QCOMPARE(f.control<FolderList>("Dir1")->path(), native(QDir::currentPath()));
    QCOMPARE(f.text()->text(), QString());

    // Picking a drive moves the folder list there, and the text follows, replacing typed text.
    QTest::keyClicks(f.text(), QStringLiteral("typed by the user"));
    QTest::keyClick(f.control<DriveList>("Drive1"), Qt::Key_Down);
    QCOMPARE(f.text()->text(), native(otherDrive.path()));
    f.control<FolderList>("Dir1")->setPath(otherDrive.filePath(QStringLiteral("inner")));
    QCOMPARE(f.text()->text(), native(otherDrive.filePath(QStringLiteral("inner"))));
    QCOMPARE(f.messages.shown, QStringList());
}

void tst_AddDir::aDriveThatCannotBeReadIsReported()
{
    const QString missing = QTemporaryDir().path(); // removed again at once
    AddDirFixture f({{"/", "/"}, {missing, "no medium"}});
    const QString before = f.control<FolderList>("Dir1")->path();
    f.text()->setText(QStringLiteral("typed"));

    QTest::keyClick(f.control<DriveList>("Drive1"), Qt::Key_Down);
    QCOMPARE(f.messages.shown.size(), 1);
    QVERIFY2(f.messages.shown.first().contains(native(missing)), qPrintable(f.messages.shown[0]));
    QCOMPARE(f.control<FolderList>("Dir1")->path(), before);
    QCOMPARE(f.control<DriveList>("Drive1")->drive(), QStringLiteral("/"));
    QCOMPARE(f.text()->text(), QStringLiteral("typed"));
}

void tst_AddDir::createsFoldersInsideTheChosenParent()
{
    QTemporaryDir parent;
    const auto folders = [&] {
        return QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    };
    AddDirFixture f;
    QStringList whenConfirmed;
    f.messages.whileShown = [&] { whenConfirmed = folders(); };

    f.control<FolderList>("Dir1")->setPath(parent.path());
    QTest::keyClicks(f.text(), QDir::separator() + QStringLiteral("First"));
    f.press("Command2");
    QCOMPARE(f.messages.shown, QStringList{kSuccess});
    QCOMPARE(whenConfirmed, QStringList{"First"});
    QCOMPARE(f.text()->text(), native(parent.filePath(QStringLiteral("First"))));

    f.text()->setText(native(parent.filePath(QStringLiteral("Second folder"))));
    f.press("Command2");
    QCOMPARE(f.messages.shown, (QStringList{kSuccess, kSuccess}));
    QCOMPARE(folders(), (QStringList{"First", "Second folder"}));
    QVERIFY(f.dialog->isVisible());
}

void tst_AddDir::aFolderThatCannotBeCreatedIsReported_data()
{
    // %1 is a folder of the test's own, holding the folder "existing" and the file "file".
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << ""
                           << "Complete the path";
    QTest::newRow("exists already") << "%1/existing"
                                    << "exists already";
    QTest::newRow("parent missing") << "%1/missing/new"
                                    << "No such file or directory";
    QTest::newRow("invalid name") << "%1/" + QString(300, 'n') << "File name too long";
    QTest::newRow("not a full path") << "new"
                                     << "not a full path";
    QTest::newRow("under a file") << "%1/file/new"
                                  << "Not a directory";
    QTest::newRow("not writable") << "/sys/revuredaveze-new"
                                  << "";
}

void tst_AddDir::aFolderThatCannotBeCreatedIsReported()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    QTemporaryDir owned;
    QVERIFY(QDir(owned.path()).mkdir(QStringLiteral("existing")));
    QFile file(owned.filePath(QStringLiteral("file")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    if (path.contains(QLatin1String("%1")))
        path = native(path.arg(owned.path()));
    const auto entries = [&] {
        return QDir(owned.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    };
    const QStringList before = entries();

    AddDirFixture f;
    f.text()->setText(path);
    f.press("Command2");

    QCOMPARE(f.messages.shown.size(), 1);
    const QString message = f.messages.shown.first();
    QVERIFY(message != kSuccess);
    QVERIFY2(message.contains(reason) && message.contains(path), qPrintable(message));
    QVERIFY(f.dialog->isVisible());
    QCOMPARE(f.text()->text(), path);
    QCOMPARE(entries(), before);
    QVERIFY(!QFileInfo::exists(QStringLiteral("new")));
    QVERIFY(!QFileInfo::exists(QStringLiteral("/sys/revuredaveze-new")));
}

void tst_AddDir::doneCancelAndCloseBoxCloseIt_data()
{
    QTest::addColumn<QString>("button"); // none: the close box
    QTest::newRow("Done") << "Command1";
    QTest::newRow("Cancel") << "Command3";
    QTest::newRow("close box") << "";
}

void tst_AddDir::doneCancelAndCloseBoxCloseIt()
{
    QFETCH(QString, button);
    QTemporaryDir parent;
    const QString created = parent.filePath(QStringLiteral("kept"));
    AddDirFixture f;
    f.text()->setText(native(created));
    f.press("Command2");

    if (button.isEmpty())
        f.dialog->close();
    else
        f.press(qPrintable(button));
    QTRY_VERIFY(f.dialog.isNull());
    QVERIFY(QFileInfo(created).isDir());
    QVERIFY(f.window().isVisible());
}

void tst_AddDir::keepsTheProgramRunningAfterTheMainWindowCloses()
{
    QTemporaryDir parent;
    const QString created = parent.filePath(QStringLiteral("new"));
    AddDirFixture f;
    bool workedWithoutMainWindow = false;
    bool dialogShownWhenTheProgramEnded = true;

    // Once the main window is gone the dialog still creates folders; then the user closes it.
    connect(&f.window(), &QObject::destroyed, f.dialog, [&] {
        f.text()->setText(native(created));
        f.press("Command2");
        workedWithoutMainWindow = f.dialog->isVisible() && QFileInfo(created).isDir();
        f.dialog->close();
    });
    const QMetaObject::Connection ending =
        connect(qApp, &QGuiApplication::lastWindowClosed, this,
                [&] { dialogShownWhenTheProgramEnded = f.dialog && f.dialog->isVisible(); });
    QTimer::singleShot(0, &f.window(), &QWidget::close);
    QTimer::singleShot(10000, qApp, &QCoreApplication::quit); // a guard, should all else fail
    QApplication::exec();
    disconnect(ending);

    QVERIFY(!f.isOpen());
    QVERIFY(workedWithoutMainWindow);
    QCOMPARE(f.messages.shown, QStringList{kSuccess});
    QVERIFY(!dialogShownWhenTheProgramEnded); // it ended with its last window, not before
}

QTEST_MAIN(tst_AddDir)
#include "tst_adddir.moc"
