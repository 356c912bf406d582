#include "drivefolder.h"

#include "drivelist.h"
#include "folderlist.h"

#include <QSignalBlocker>

void showStartFolder(DriveList *drives, FolderList *folders, const QString &folder)
{
    drives->showDriveOf(folder);
    const QSignalBlocker quiet(folders);
    folders->setPath(folder);
}

QString followPickedDrive(DriveList *drives, FolderList *folders)
{
    const QString failure = folders->setPath(drives->drive());
    if (!failure.isEmpty())
        drives->showDriveOf(folders->path());
    return failure;
}
