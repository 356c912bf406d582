// On Linux the drives are the mounted file systems that hold user data.
#pragma once

#include "drives.h"

struct MountEntry
{
    QString source;
    QString mountPoint;
    QString type;
};

// Keeps the root, block-device and network file systems and leaves out pseudo file systems and
// the system's own mounts, in mount order; a mount point mounted twice counts once.
QList<Drive> drivesFromMounts(const QList<MountEntry> &mounts);

class MountedDrives final : public Drives
{
  public:
    QList<Drive> list() const override;
};
