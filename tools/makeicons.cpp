// Writes the program's icon as PNG files of the desktop's usual sizes into a folder, at build
// time, so that the repository holds no drawn binaries.
#include "app/appicon.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: makeicons OUTPUT-FOLDER\n";
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (int size : {16, 32, 48, 64, 128}) {
        const QString name = folder.filePath(QStringLiteral("revuredaveze-%1.png").arg(size));
        if (!iconImage(size).save(name)) {
            QTextStream(stderr) << "cannot write " << name << "\n";
            return 1;
        }
    }
    return 0;
}
