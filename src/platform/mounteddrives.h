// On Linux the drives are the mounted file systems that hold user data.
#pragma once

#include "drives.h"

struct MountEntry
{
    QString source;
    QString mountPoint;
    QString type;
    QString root;    // the folder of its file system that the mount shows, "/" for all of it
    QString options; // the file system's own options
};

// The mounts listed in the text of /proc/self/mountinfo, in mount order.
QList<MountEntry> mountsFromMountInfo(const QByteArray &text);

// Keeps the root, block-device and network file systems and leaves out pseudo file systems,
// package images, the system's own mounts and folders mounted elsewhere again, in mount order;
// a mount point mounted twice counts once.
QList<Drive> drivesFromMounts(const QList<MountEntry> &mounts);

// Read anew at each call, so that media mounted after the start are listed.
class MountedDrives final : public Drives
{
  public:
    QList<Drive> list() const override;
};
