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
#include <QPointer>

namespace {

QString unsavedMessage(const SettingsStore &store, const QString &installFolder)
{
    const QString handOver = QDir::toNativeSeparators(
        QDir(installFolder).filePath(QStringLiteral("revuredaveze-initdb")));
    return QStringLiteral("Your changes cannot be saved in the settings database %1: %2.\n\n"
                          "The program works as usual, but what you change is lost when it "
                          "ends. To make these settings yours, have an administrator run:\n\n"
                          "sudo %3 --owner %4")
        .arg(store.path(), store.unsavedReason(), handOver, currentAccount().name);
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
