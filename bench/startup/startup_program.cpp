// The program's own start, with its settings database in the given folder.
#include "startupprobe.h"

#include "app/startup.h"
#include "common/appinfo.h"
#include "platform/messageboxes.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 2;
    QApplication application(argc, argv);
    measureStartUntilShown(application, argv[1]);
    QtMessageBoxes messages{QLatin1String(kApplicationTitle)};
    return runProgram(QString::fromLocal8Bit(argv[2]), messages);
}
