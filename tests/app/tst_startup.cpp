#include "windowfixture.h"

#include "app/startup.h"
#include "platform/accounts.h"
#include "platform/singleinstance.h"
#include "store/settingsfolder.h"
#include "store/settingsschema.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <pwd.h>
#include <unistd.h>
#endif

namespace {
// File permissions do not stop root, so tests of what a user may not do drop root's rights first:
// started as root, the process goes on as the user nobody for good. Returns an empty text when the
// process now runs as a user whom permissions stop, otherwise why it does not.
QString dropRootRights()
{
#ifdef Q_OS_UNIX
    if (geteuid() != 0)
        return {};
    const passwd *nobody = getpwnam("nobody");
    if (!nobody)
        return QStringLiteral("root cannot become the user nobody: there is none");
    if (setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0)
        return QStringLiteral("root cannot become the user nobody: %1").arg(qt_error_string());
#endif
    return {};
}

// Runs the program installed in the folder; `onWindow` acts on its main window, if one comes,
// before every window is closed.
int runProgramWith(const QString &installFolder, FakeMessageBoxes &messages,
                   const std::function<void(QWidget *)> &onWindow)
{
    QObject context; // drops the timer when no window came
    QTimer::singleShot(0, &context, [&] {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->objectName() == "frmSelect")
                onWindow(window);
        QApplication::closeAllWindows();
    });
    return runProgram(installFolder, QDir(installFolder).filePath("instance"), messages);
}
} // namespace

class tst_Startup : public QObject
{
    Q_OBJECT

    // Settings of the user daemon, made while the test still has root's rights.
    std::unique_ptr<QTemporaryDir> m_daemonsSettings;

  private slots:
    void initTestCase()
    {
#ifdef Q_OS_UNIX
        const std::optional<Account> daemon = findAccount("daemon"), nobody = findAccount("nobody");
        if (geteuid() != 0 || !daemon || !nobody)
            return;
        // In a folder of nobody's, who runs the tests from here on and so can remove it.
        m_daemonsSettings = std::make_unique<QTemporaryDir>();
        const QString database = settingsDatabasePath(m_daemonsSettings->path());
        QString error;
        QCOMPARE(createSettingsDatabase(database, &error), CreateResult::Created);
        QCOMPARE(giveTo(database, *daemon), QString());
        QCOMPARE(giveTo(m_daemonsSettings->path(), *nobody), QString());
#endif
    }

    // Settings that cannot be used end the program with one message and status 1, before any window
    // and without a file made; settings that the user may not change are said once, and the program
    // runs on a private copy of what it could read. The window opens without loading the image
    // readers, which would slow every start.
    void settingsAtStart()
    {
#ifdef Q_OS_WIN
        QSKIP("links, file modes and the user nobody are Linux's: see tst_windowssettings");
#endif
        if (const QString whyStillRoot = dropRootRights(); !whyStillRoot.isEmpty())
            QSKIP(qPrintable(whyStillRoot));
        // The settings: a statement run on them, or what they become (daemon's: another user's,
        // which are named as theirs, and handing them over as taking them away); the modes of the
        // data folder the fixed path leads into and of the file; why the program ends before any
        // window, or why changes are lost ({data} is the data folder); the From folder of pair 1
        // on the window.
        const char *noWindow = "no window";
        for (auto [setup, folderMode, fileMode, reason, shown] : {
                 // clang-format off
                 std::tuple<QString, int, int, QString, QString>("missing", 0755, 0644, "the file does not exist", noWindow),
                 {"cut short", 0755, 0644, "file is not a database", noWindow},
                 {"DROP TABLE tblTime", 0755, 0644, "no such table: tblTime", noWindow},
                 {"ALTER TABLE tblPath9 RENAME COLUMN Path9 TO Other", 0755, 0644, "no such column: Path9", noWindow},
                 {"", 0755, 0644, "", "/home/me"},
                 {"", 0755, 0444, "you are not allowed to change it", "/home/me"},
                 {"", 0555, 0644, "you are not allowed to write in its folder {data}, where SQLite keeps its journal", "/home/me"},
                 {"", 0755, 0000, "you are not allowed to read it", ""},
                 {"", 0000, 0644, "you are not allowed to read it", ""},
                 {"daemon's", 0755, 0644, "you are not allowed to change it", ""},
                 // clang-format on
             }) {
            if (setup == "daemon's" && !m_daemonsSettings)
                continue; // only root makes them
            QTemporaryDir installFolder;
            TestDatabase db;
            // The automatic mode on and pair 1 locked, so that the window restores the pair.
            db.add(Table::AutoSync, {"1"});
            db.add(Table::Path1, {"/home/me"});
            db.add(Table::Path2, {"/backup"});
            const QString link = settingsDatabasePath(installFolder.path());
            QVERIFY(QFile::link(setup == "missing" ? db.folder() + "/gone"
                                : setup == "daemon's"
                                    ? settingsDatabasePath(m_daemonsSettings->path())
                                    : db.path(),
                                link));
            if (setup == "cut short")
                QVERIFY(QFile::resize(db.path(), 10));
            else if (setup.contains(' ')) // a statement
                db.execute(setup);
            const QStringList files = QDir(db.folder()).entryList(QDir::Files);
            const auto setModes = [](const QList<std::pair<QString, int>> &modes) {
                for (const auto &[path, mode] : modes)
                    std::filesystem::permissions(path.toStdString(), std::filesystem::perms(mode));
            };
            // SQLite must follow the link and write its journal beside the real file.
            setModes(
                {{db.path(), fileMode}, {db.folder(), folderMode}, {installFolder.path(), 0555}});

            const bool ended = shown == "no window";
            QString shownFrom = "no window";
            QByteArray loaded;
            FakeMessageBoxes messages;
            const int status = runProgramWith(installFolder.path(), messages, [&](QWidget *window) {
                shownFrom = window->findChild<QLineEdit *>("Text1")->text();
                QFile maps("/proc/self/maps");
                loaded = maps.open(QIODevice::ReadOnly) ? maps.readAll() : QByteArray();
            });
            setModes({{installFolder.path(), 0755}, {db.folder(), 0755}, {db.path(), 0644}});

            QCOMPARE(status, ended ? 1 : 0);
            QCOMPARE(shownFrom, shown);
            if (!ended) {
                QVERIFY2(loaded.contains("libQt6Core"),
                         "the libraries the program loaded are unknown");
                QVERIFY(!loaded.contains("/imageformats/"));
            }
            QCOMPARE(QDir(db.folder()).entryList(QDir::Files), files);
            const QString whose = "These settings belong to daemon, and handing them to you takes "
                                  "them from daemon. To make them yours all the same";
            const QString message =
                ended ? QString("The settings database %1 cannot be used: %2.").arg(link, reason)
                      : QString(
                            "Your changes cannot be saved in the settings database %1: %2.\n\n"
                            "The program works as usual, but what you change is lost when it ends. "
                            "%5, have an administrator run:\n\n"
                            "sudo %3/revuredaveze-initdb --owner %4")
                            .arg(link, reason.replace("{data}", db.folder()), installFolder.path(),
                                 QFileInfo(installFolder.path()).owner(),
                                 setup == "daemon's" ? whose : "To make these settings yours");
            QCOMPARE(messages.shown, reason.isEmpty() ? QStringList() : QStringList{message});
        }
    }

    // With settings the user may not change, Activate says why they are not recorded instead of
    // confirming that they are, and the schedule is active while the program runs.
    void activationWithUnsavedSettingsSaysWhy()
    {
        if (const QString whyStillRoot = dropRootRights(); !whyStillRoot.isEmpty())
            QSKIP(qPrintable(whyStillRoot));
        QTemporaryDir installFolder;
        const QString settings = settingsDatabasePath(installFolder.path());
        QString error;
        QCOMPARE(createSettingsDatabase(settings, &error), CreateResult::Created);
        QVERIFY(QFile::setPermissions(settings, QFile::ReadOwner | QFile::ReadOther));
        const QDateTime written = QFileInfo(settings).lastModified();

        bool active = false;
        FakeMessageBoxes messages;
        const int status = runProgramWith(installFolder.path(), messages, [&](QWidget *window) {
            typeInto(window->findChild<QLineEdit *>("Text1"), "/from");
            window->findChild<QCheckBox *>("Check1")->click();
            window->findChild<QCheckBox *>("ckUseTimer")->click();
            pickEntry(window->findChild<QComboBox *>("cmbDays"), "7");
            pickEntry(window->findChild<QComboBox *>("Combo1"), "10:00:00 PM");
            window->findChild<QPushButton *>("cmdActivateAS")->click();
            active = window->findChild<QWidget *>("lblSyncSet")->isVisible();
        });

        QCOMPARE(status, 0);
        QCOMPARE(messages.shown.size(), 2); // the first says the settings cannot be saved
        const QString why =
            QDir::toNativeSeparators(settings) + ": you are not allowed to change it.";
        QVERIFY2(messages.shown[1].contains(why), qPrintable(messages.shown[1]));
        QVERIFY(active);
        QCOMPARE(QFileInfo(settings).lastModified(), written); // nothing written
    }

    // While the program runs, a second start of the same user's brings its window to the front
    // and ends at once with success, before it opens the settings or shows anything; once the first
    // has ended, the next start runs.
    void aSecondStartBringsTheFirstForwardAndEnds()
    {
        QTemporaryDir installFolder;
        QString error;
        QCOMPARE(createSettingsDatabase(settingsDatabasePath(installFolder.path()), &error),
                 CreateResult::Created);
        const QString key = installFolder.filePath("instance");

        int secondStatus = -1;
        bool broughtForward = false;
        FakeMessageBoxes messages, secondMessages;
        const int status = runProgramWith(installFolder.path(), messages, [&](QWidget *window) {
            window->showMinimized();
            secondStatus = runProgram("/nonexistent", key, secondMessages);
            broughtForward = QTest::qWaitFor([window] { return !window->isMinimized(); });
        });

        QCOMPARE(status, 0);
        QCOMPARE(secondStatus, 0);
        QVERIFY(broughtForward);
        QCOMPARE(secondMessages.shown, QStringList());
        SingleInstance next(key);
        QVERIFY(next.claim());
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
