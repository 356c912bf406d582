#include "common/appinfo.h"
#include "platform/messageboxes.h"
#include "platform/singleinstance.h"
#include "startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QtMessageBoxes messages{QLatin1String(kApplicationTitle)};
    return runProgram(QStringLiteral(INSTALL_FOLDER), SingleInstance::userKey(), messages);
}
