// The program as installed, with its installation folder given instead of compiled in; the first
// run, a warm-up, makes its settings database there.
#include "app/startup.h"
#include "common/appinfo.h"
#include "platform/messageboxes.h"
#include "store/settingsfolder.h"
#include "store/settingsschema.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    QApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QString error;
    if (createSettingsDatabase(settingsDatabasePath(folder), &error) == CreateResult::Failed)
        return 1;
    QtMessageBoxes messages{QLatin1String(kApplicationTitle)};
    return runProgram(folder, QDir(folder).filePath(QStringLiteral("instance")), messages);
}
