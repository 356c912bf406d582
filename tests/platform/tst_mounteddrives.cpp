#include "platform/mounteddrives.h"

#include <QTest>

// The drives offered are the file systems that hold the user's data, read from the mount table.
class tst_MountedDrives : public QObject
{
    Q_OBJECT

  private slots:
    void drivesFromTheMountTable()
    {
        const QByteArray mountInfo =
            "21 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
            "24 21 8:2 / /boot rw - ext4 /dev/sda2 rw\n"
            "25 21 8:3 /@home /home rw shared:2 - btrfs /dev/sda3 rw,subvol=/@home\n"
            "26 21 8:1 /usr/share/icons /srv/icons rw - ext4 /dev/sda1 rw\n"
            "27 21 7:0 / /snapd/core rw - squashfs /dev/loop0 ro\n"
            "29 21 8:17 / /media/me/MY\\040STICK rw - vfat /dev/sdb1 rw\n"
            "30 21 0:40 / /mnt/share rw - nfs4 server:/share rw\n"
            "31 21 8:17 / /media/me/MY\\040STICK rw - vfat /dev/sdb1 rw\n"
            "32 21 8:33 / /run/media/me/CARD rw - exfat /dev/sdc1 rw\n"
            "a line that is not a mount\n";

        QStringList roots;
        for (const Drive &drive : drivesFromMounts(mountsFromMountInfo(mountInfo)))
            roots.append(drive.root);
        QCOMPARE(roots, (QStringList{"/", "/home", "/media/me/MY STICK", "/mnt/share",
                                     "/run/media/me/CARD"}));
    }
};

QTEST_APPLESS_MAIN(tst_MountedDrives)
#include "tst_mounteddrives.moc"
