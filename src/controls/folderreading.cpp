#include "folderreading.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

FolderContents readFolder(const QString &path, QDir::Filters kind)
{
    // QDir only tells that a folder cannot be read; opening it here gives the system's reason.
    std::error_code error;
    std::filesystem::directory_iterator(QDir(path).filesystemPath(), error);
    if (error) {
        return {{},
                QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path),
                                             QString::fromLocal8Bit(error.message()))};
    }
    QStringList names = QDir(path).entryList(kind | QDir::NoDotAndDotDot, QDir::Unsorted);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return {names, {}};
}
