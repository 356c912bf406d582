// The yardstick: the smallest Qt Widgets program with a window.
#include "startupprobe.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    QApplication application(argc, argv);
    measureStartUntilShown(application, argv[1]);
    QLabel window(QStringLiteral("Hello"));
    window.show();
    return QApplication::exec();
}
