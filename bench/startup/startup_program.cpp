// The program as installed, with its installation folder given instead of compiled in.
#include "app/startup.h"
#include "common/appinfo.h"
#include "platform/messageboxes.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    QApplication application(argc, argv);
    QtMessageBoxes messages{QLatin1String(kApplicationTitle)};
    return runProgram(QString::fromLocal8Bit(argv[1]), messages);
}
