#include "drivefolder.h"

#include "drivelist.h"
#include "folderlist.h"

#include <QSignalBlocker>

Outcome showStartFolder(DriveList *drives, FolderList *folders, const QString &folder)
{
    drives->showDriveOf(folder);
    const QSignalBlocker quiet(folders);
    return folders->setPath(folder);
}

Outcome followPickedDrive(DriveList *drives, FolderList *folders)
{
    const Outcome followed = folders->setPath(drives->drive());
    if (!followed.ok())
        drives->showDriveOf(folders->path());
    return followed;
}
