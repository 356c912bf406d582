#include "mounteddrives.h"

#include <QFile>
#include <QSet>

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

// A folder mounted at a second place shows only part of its file system. A btrfs subvolume
// does too, but it is a file system of its own to the user.
bool isFolderMountedAgain(const MountEntry &mount)
{
    if (mount.root == QLatin1String("/"))
        return false;
    return !(mount.type == QLatin1String("btrfs") &&
             mount.options.split(QLatin1Char(','))
                 .contains(QLatin1String("subvol=") + mount.root));
}

bool holdsUserData(const MountEntry &mount)
{
    static const QSet<QString> networkTypes{QStringLiteral("nfs"), QStringLiteral("nfs4"),
                                            QStringLiteral("cifs"), QStringLiteral("smb3"),
                                            QStringLiteral("fuse.sshfs")};
    if (mount.mountPoint == QLatin1String("/"))
        return true;
    if (isFolderMountedAgain(mount))
        return false;
    if (isSystemMount(mount.mountPoint) || mount.type == QLatin1String("squashfs"))
        return false;
    return mount.source.startsWith(QLatin1String("/dev/")) || networkTypes.contains(mount.type);
}

// Blanks, tabs, newlines and backslashes in the fields are written as octal escapes.
QString unescaped(const QByteArray &field)
{
    QByteArray plain;
    for (qsizetype i = 0; i < field.size(); ++i) {
        bool octal = false;
        const int code = field[i] == '\\' ? field.mid(i + 1, 3).toInt(&octal, 8) : 0;
        if (octal && i + 3 < field.size()) {
            plain.append(char(code));
            i += 3;
        } else {
            plain.append(field[i]);
        }
    }
    return QFile::decodeName(plain);
}

} // namespace

QList<MountEntry> mountsFromMountInfo(const QByteArray &text)
{
    // id parent major:minor root mount-point options [optional...] - type source super-options
    QList<MountEntry> mounts;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf("-");
        if (separator < 6 || fields.size() < separator + 4)
            continue;
        mounts.append({unescaped(fields[separator + 2]), unescaped(fields[4]),
                       QString::fromLatin1(fields[separator + 1]), unescaped(fields[3]),
                       unescaped(fields[separator + 3])});
    }
    return mounts;
}

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
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return {};
    return drivesFromMounts(mountsFromMountInfo(table.readAll()));
}
