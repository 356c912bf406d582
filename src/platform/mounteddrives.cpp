#include "mounteddrives.h"

#include <QFile>
#include <QSet>

#include <mntent.h>

std::unique_ptr<Drives> makeDrives()
{
    return std::make_unique<MountedDrives>();
}

namespace {

bool isSystemMount(const QString &mountPoint)
{
    static const QStringList systemFolders{QStringLiteral("/boot"), QStringLiteral("/proc"),
                                           QStringLiteral("/sys"),  QStringLiteral("/dev"),
                                           QStringLiteral("/run"),  QStringLiteral("/snap")};
    for (const QString &folder : systemFolders) {
        if (mountPoint == folder || mountPoint.startsWith(folder + QLatin1Char('/')))
            return !mountPoint.startsWith(QLatin1String("/run/media/"));
    }
    return false;
}

bool holdsUserData(const MountEntry &mount)
{
    static const QSet<QString> networkTypes{QStringLiteral("nfs"), QStringLiteral("nfs4"),
                                            QStringLiteral("cifs"), QStringLiteral("smb3"),
                                            QStringLiteral("fuse.sshfs")};
    if (mount.mountPoint == QLatin1String("/"))
        return true;
    if (isSystemMount(mount.mountPoint) || mount.type == QLatin1String("squashfs"))
        return false;
    return mount.source.startsWith(QLatin1String("/dev/")) || networkTypes.contains(mount.type);
}

} // namespace

QList<Drive> drivesFromMounts(const QList<MountEntry> &mounts)
{
    QList<Drive> drives;
    QSet<QString> seen;
    for (const MountEntry &mount : mounts) {
        if (!holdsUserData(mount) || seen.contains(mount.mountPoint))
            continue;
        seen.insert(mount.mountPoint);
        drives.append({mount.mountPoint, mount.mountPoint});
    }
    return drives;
}

QList<Drive> MountedDrives::list() const
{
    QList<MountEntry> mounts;
    if (FILE *table = setmntent("/proc/self/mounts", "r")) {
        while (const mntent *entry = getmntent(table)) {
            mounts.append({QFile::decodeName(entry->mnt_fsname), QFile::decodeName(entry->mnt_dir),
                           QString::fromLocal8Bit(entry->mnt_type)});
        }
        endmntent(table);
    }
    return drivesFromMounts(mounts);
}
