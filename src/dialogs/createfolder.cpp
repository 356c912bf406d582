#include "createfolder.h"

#include <QDir>

#include <filesystem>
#include <system_error>

namespace {
Outcome failure(const QString &path, const QString &reason)
{
    return Outcome::failed(QStringLiteral("The folder %1 could not be created: %2.")
                               .arg(QDir::toNativeSeparators(path), reason));
}
} // namespace

Outcome createFolder(const QString &path)
{
    if (path.isEmpty())
        return Outcome::failed(QStringLiteral("Complete the path for the new directory first."));
    // A relative path would land in whatever folder the program happens to run in.
    if (!QDir::isAbsolutePath(path))
        return failure(path, QStringLiteral("the path is not a full path"));

    std::error_code error;
    const bool created =
        std::filesystem::create_directory(std::filesystem::path(path.toStdU16String()), error);
    if (error)
        return failure(path, QString::fromLocal8Bit(error.message()));
    if (!created)
        return failure(path, QStringLiteral("it exists already"));
    return Outcome::done();
}
