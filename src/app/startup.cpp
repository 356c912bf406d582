#include "startup.h"

#include "appicon.h"
#include "common/appinfo.h"
#include "controls/programstyle.h"
#include "frmselect.h"
#include "platform/accounts.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/messageboxes.h"
#include "platform/programstarter.h"
#include "platform/singleinstance.h"
#include "store/settingsfolder.h"
#include "store/settingsstore.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

namespace {

// Whose the settings are: the real file's owner, or, where the user may not even look into its
// folder, the folder's.
std::optional<Account> settingsOwner(const QString &databasePath)
{
    const QFileInfo link(databasePath);
    const QString file = link.isSymLink() ? link.symLinkTarget() : databasePath;
    if (std::optional<Account> owner = ownerOf(file))
        return owner;
    return ownerOf(QFileInfo(file).absolutePath());
}

QString unsavedMessage(const SettingsStore &store, const QString &installFolder)
{
    const Account me = currentAccount();
    const std::optional<Account> owner = settingsOwner(store.path());
    // Another user's settings (not root's, which are nobody's yet) are theirs to keep: handing
    // them over takes them away.
    const QString whose =
        owner && owner->userId != 0 && owner->name != me.name
            ? QStringLiteral("These settings belong to %1, and handing them to you takes them "
                             "from %1. To make them yours all the same")
                  .arg(owner->name)
            : QStringLiteral("To make these settings yours");
    return QStringLiteral("Your changes cannot be saved in the settings database %1: %2.\n\n"
                          "The program works as usual, but what you change is lost when it "
                          "ends. %3, have an administrator run:\n\n%4")
        .arg(store.path(), store.unsavedReason(), whose,
             administratorCommand(
                 QDir(installFolder).filePath(QStringLiteral("revuredaveze-initdb")),
                 QStringLiteral("--owner ") + me.name));
}

} // namespace

int runProgram(const QString &installFolder, const QString &instanceKey, MessageBoxes &messages)
{
    QApplication::setApplicationName(QLatin1String(kApplicationTitle));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionPatch));
    QApplication::setWindowIcon(applicationIcon());
    QApplication::setStyle(new ProgramStyle(QApplication::style()->name()));

    SingleInstance instance(instanceKey);
    if (!instance.claim())
        return 0;

    const QString databasePath = QDir::toNativeSeparators(settingsDatabasePath(installFolder));
    QString error;
    const std::unique_ptr<SettingsStore> store = SettingsStore::open(databasePath, &error);
    if (!store) {
        messages.inform(QStringLiteral("The settings database %1 cannot be used: %2.")
                            .arg(databasePath, error));
        return 1;
    }
    if (!store->unsavedReason().isEmpty())
        messages.inform(unsavedMessage(*store, installFolder));

    SystemClock clock;
    const std::unique_ptr<ProgramStarter> programs = makeProgramStarter(installFolder);
    const std::unique_ptr<Drives> drives = makeDrives();
    // The window deletes itself when closed; one still open when the program ends is deleted
    // here, while the resources it uses still exist.
    const QPointer<frmSelect> window =
        new frmSelect({*store, clock, messages, *programs, *drives, installFolder});
    QObject::connect(&instance, &SingleInstance::anotherStartAsked, window, [&window] {
        window->showNormal();
        window->raise();
        window->activateWindow();
    });
    window->show();
    const int status = QApplication::exec();
    delete window;
    return status;
}
