// Writes the program's icon at build time, so that the repository holds no drawn binaries: as PNG
// files of the desktop's usual sizes into a folder, or as one Windows icon file of those sizes
// for the program file.
#include "app/appicon.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <QtEndian>

namespace {

constexpr int kPngSizes[] = {16, 32, 48, 64, 128};
// Explorer's largest view takes 256 pixels.
constexpr int kIconFileSizes[] = {16, 32, 48, 64, 128, 256};

QByteArray littleEndian16(int value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian<quint16>(quint16(value), bytes.data());
    return bytes;
}

QByteArray littleEndian32(qsizetype value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian<quint32>(quint32(value), bytes.data());
    return bytes;
}

// An icon file whose images are PNG data, as Windows reads them since Vista: a header, one
// entry for each image (its size, where a width of 0 means 256, and its place), then the data.
QByteArray iconFile()
{
    QList<QByteArray> images;
    for (int size : kIconFileSizes) {
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        iconImage(size).save(&png, "PNG");
        images.append(png.data());
    }
    QByteArray file = littleEndian16(0) + littleEndian16(1) + littleEndian16(int(images.size()));
    qsizetype offset = 6 + 16 * images.size();
    for (qsizetype i = 0; i < images.size(); ++i) {
        const char side = char(kIconFileSizes[i] % 256);
        file += QByteArray{1, side} + QByteArray{1, side} + QByteArray(2, '\0');
        file += littleEndian16(1) + littleEndian16(32);
        file += littleEndian32(images[i].size()) + littleEndian32(offset);
        offset += images[i].size();
    }
    for (const QByteArray &image : images)
        file += image;
    return file;
}

bool writePngs(const QDir &folder)
{
    for (int size : kPngSizes) {
        const QString name = folder.filePath(QStringLiteral("revuredaveze-%1.png").arg(size));
        if (!iconImage(size).save(name)) {
            QTextStream(stderr) << "cannot write " << name << "\n";
            return false;
        }
    }
    return true;
}

bool writeIconFile(const QString &name)
{
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(iconFile()) < 0 || !file.flush()) {
        QTextStream(stderr) << "cannot write " << name << ": " << file.errorString() << "\n";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: makeicons OUTPUT-FOLDER | ICON-FILE.ico\n";
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    const bool written =
        output.endsWith(QLatin1String(".ico")) ? writeIconFile(output) : writePngs(QDir(output));
    return written ? 0 : 1;
}
