// The program's own start, with its settings database in the given folder (made by the first
// run, which is a warm-up).
#include "startupprobe.h"

#include "app/appinfo.h"
#include "app/startup.h"
#include "platform/messageboxes.h"
#include "store/settingsfolder.h"
#include "store/settingsschema.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 2;
    QApplication application(argc, argv);
    measureStartUntilShown(application, argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    QString error;
    if (createSettingsDatabase(settingsDatabasePath(folder), &error) == CreateResult::Failed)
        return 1;
    QtMessageBoxes messages{QLatin1String(kApplicationTitle)};
    return runProgram(folder, messages);
}
