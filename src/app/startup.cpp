#include "startup.h"

#include "appicon.h"
#include "common/appinfo.h"
#include "frmselect.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/messageboxes.h"
#include "platform/programstarter.h"
#include "store/settingsstore.h"

#include <QApplication>
#include <QDir>
#include <QPointer>

QString settingsDatabasePath(const QString &installFolder)
{
    return QDir(installFolder).filePath(QStringLiteral("xcopy.mdb"));
}

int runProgram(const QString &installFolder, MessageBoxes &messages)
{
    QApplication::setApplicationName(QLatin1String(kApplicationTitle));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionPatch));
    QApplication::setWindowIcon(applicationIcon());

    const QString databasePath = QDir::toNativeSeparators(settingsDatabasePath(installFolder));
    QString error;
    const std::unique_ptr<SettingsStore> store = SettingsStore::open(databasePath, &error);
    if (!store) {
        messages.inform(QStringLiteral("The settings database %1 cannot be used: %2.")
                            .arg(databasePath, error));
        return 1;
    }

    SystemClock clock;
    const std::unique_ptr<ProgramStarter> programs = makeProgramStarter(installFolder);
    const std::unique_ptr<Drives> drives = makeDrives();
    // The window deletes itself when closed; one still open when the program ends is deleted
    // here, while the resources it uses still exist.
    const QPointer<frmSelect> window =
        new frmSelect({*store, clock, messages, *programs, *drives, installFolder});
    window->show();
    const int status = QApplication::exec();
    delete window;
    return status;
}
