#include "settingsfolder.h"

#include "settingsschema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

constexpr QFile::Permissions kFolderMode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions kFileMode = QFile::ReadOwner | QFile::WriteOwner;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Changes the owner only where it differs, so that a user may set up settings of their own.
QString giveToIfNeeded(const QString &path, const Account &account)
{
    const std::optional<Account> owner = ownerOf(path);
    if (owner && owner->userId == account.userId && owner->groupId == account.groupId)
        return {};
    if (QString problem = giveTo(path, account); !problem.isEmpty())
        return QStringLiteral("Could not give %1 to %2: %3")
            .arg(native(path), account.name, problem);
    return {};
}

QString restrict(const QString &path, QFile::Permissions mode)
{
    if (!QFile::setPermissions(path, mode))
        return QStringLiteral("Could not make %1 private").arg(native(path));
    return {};
}

// Files and the folder go to the account, readable by it alone. Links and files with other names
// elsewhere are left alone: the previous owner may have put them there to have another file
// handed over.
QString handOver(const QString &folder, const Account &account)
{
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QFileInfo &entry : entries) {
        std::error_code ignored;
        if (fs::hard_link_count(entry.filesystemFilePath(), ignored) != 1)
            continue;
        QString problem = giveToIfNeeded(entry.filePath(), account);
        if (problem.isEmpty())
            problem = restrict(entry.filePath(), kFileMode);
        if (!problem.isEmpty())
            return problem;
    }
    QString problem = giveToIfNeeded(folder, account);
    return problem.isEmpty() ? restrict(folder, kFolderMode) : problem;
}

// Whether there is an entry at the path, of any kind, without following a link.
bool entryExists(const QString &path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(QFileInfo(path).filesystemFilePath(), error));
}

QString linkRefused(const QString &path)
{
    return QStringLiteral("%1 is a link, which the set-up does not follow: remove it, then set up "
                          "the settings again")
        .arg(native(path));
}

// The data folder belongs to the desktop user, who may have put a link where the settings go, to
// have root create or change the file it leads to. Such a link, or anything else that is not a
// file, is named and left alone.
QString refuseOddEntry(const QString &path)
{
    std::error_code error;
    const fs::file_status status = fs::symlink_status(QFileInfo(path).filesystemFilePath(), error);
    if (fs::is_symlink(status))
        return linkRefused(path);
    if (fs::exists(status) && !fs::is_regular_file(status))
        return QStringLiteral("%1 is not a file: remove it, then set up the settings again")
            .arg(native(path));
    return {};
}

// rename() replaces the entry at the new path and never follows it; between file systems the
// file is copied into a new file only (O_EXCL), never through a link.
QString move(const QString &from, const QString &to)
{
    const fs::path source = QFileInfo(from).filesystemFilePath();
    const fs::path target = QFileInfo(to).filesystemFilePath();
    std::error_code error;
    fs::rename(source, target, error);
    if (error == std::errc::cross_device_link && fs::copy_file(source, target, error))
        fs::remove(source, error);
    if (error)
        return QStringLiteral("Could not move %1 to %2: %3")
            .arg(native(from), native(to), QString::fromStdString(error.message()));
    return {};
}

// Moves a database an earlier version kept at the fixed path, and its journal, into the folder,
// where nothing holds their names (the caller refused anything but files there).
QString moveIntoFolder(const QString &oldPath, const QString &database)
{
    if (entryExists(database)) {
        return QStringLiteral("Both %1 and %2 hold settings; remove the one not to keep")
            .arg(native(oldPath), native(database));
    }
    // A journal there without its database belongs to no settings, and SQLite would take it for
    // the moved database's.
    const QString journal = database + QStringLiteral("-journal");
    std::error_code error;
    if (fs::remove(QFileInfo(journal).filesystemFilePath(), error); error)
        return QStringLiteral("Could not remove %1: %2")
            .arg(native(journal), QString::fromStdString(error.message()));
    for (const QString &suffix : {QString(), QStringLiteral("-journal")}) {
        if (!entryExists(oldPath + suffix))
            continue;
        if (QString problem = move(oldPath + suffix, database + suffix); !problem.isEmpty())
            return problem;
    }
    return {};
}

QString linkTo(const QString &linkPath, const QString &database)
{
    const QFileInfo link(linkPath);
    if (link.isSymLink() && QDir::cleanPath(link.symLinkTarget()) == QDir::cleanPath(database))
        return {};
    std::error_code problem;
    if (link.isSymLink())
        fs::remove(link.filesystemFilePath(), problem);
    if (!problem) {
        fs::create_symlink(QFileInfo(database).filesystemAbsoluteFilePath(),
                           link.filesystemFilePath(), problem);
    }
    if (problem) {
        return QStringLiteral("Could not link %1 to %2: %3")
            .arg(native(linkPath), native(database), QString::fromStdString(problem.message()));
    }
    return {};
}

} // namespace

QString settingsDatabasePath(const QString &installFolder)
{
    return QDir(installFolder).filePath(QStringLiteral("xcopy.mdb"));
}

QString setUpSettings(const SettingsLocation &location, const SettingsOwners &owners,
                      QStringList *done)
{
    const Account me = currentAccount();
    const QString folder = location.dataFolder;
    const QString database = QDir(folder).filePath(QStringLiteral("xcopy.mdb"));
    const QString linkPath = settingsDatabasePath(location.installFolder);

    std::optional<Account> owner;
    const QFileInfo folderInfo(folder);
    if (folderInfo.isSymLink())
        return linkRefused(folder);
    if (folderInfo.exists() && !folderInfo.isDir())
        return QStringLiteral("%1 is not a folder").arg(native(folder));
    if (folderInfo.exists()) {
        owner = ownerOf(folder);
        // Nobody else may change the folder while files are made and moved in it.
        if (QString problem = giveToIfNeeded(folder, me); !problem.isEmpty())
            return problem;
        if (QString problem = restrict(folder, kFolderMode); !problem.isEmpty())
            return problem;
    } else {
        if (!QDir().mkdir(folder, kFolderMode))
            return QStringLiteral("Could not create the folder %1").arg(native(folder));
        *done << QStringLiteral("Created the data folder %1").arg(native(folder));
        owner = owners.newOwner;
    }
    for (const QString &path : {database, database + QStringLiteral("-journal")}) {
        if (QString problem = refuseOddEntry(path); !problem.isEmpty())
            return problem;
    }

    const QFileInfo link(linkPath);
    if (link.exists() && !link.isSymLink()) {
        owner = ownerOf(linkPath);
        if (QString problem = moveIntoFolder(linkPath, database); !problem.isEmpty())
            return problem;
        *done << QStringLiteral("Moved the settings database %1 to %2")
                     .arg(native(linkPath), native(database));
    }

    QString error;
    switch (createSettingsDatabase(database, &error)) {
    case CreateResult::Created:
        *done << QStringLiteral("Created the settings database %1").arg(native(database));
        break;
    case CreateResult::AlreadyPresent:
        *done << QStringLiteral("Kept the existing settings database %1").arg(native(database));
        break;
    case CreateResult::Failed:
        return QStringLiteral("Could not create the settings database %1: %2")
            .arg(native(database), error);
    }
    if (QString problem = linkTo(linkPath, database); !problem.isEmpty())
        return problem;

    const Account finalOwner = owners.handOverTo.value_or(owner.value_or(me));
    if (QString problem = handOver(folder, finalOwner); !problem.isEmpty())
        return problem;
    *done << QStringLiteral("%1 reaches the settings, which belong to %2 alone")
                 .arg(native(linkPath), finalOwner.name);
    return {};
}
