// A drive list and a folder list that work together, on either side of the main window and in
// the add-folder dialog.
#pragma once

#include "common/outcome.h"

#include <QString>

class DriveList;
class FolderList;

// Shows a folder in both lists without reporting a change, as the lists start.
Outcome showStartFolder(DriveList *drives, FolderList *folders, const QString &folder);

// Moves the folder list to the drive just picked; its change runs at once. When the drive cannot
// be read the folder list stays where it was and the drive list goes back to the folder's drive
// without reporting it, so that the failure comes once per pick.
Outcome followPickedDrive(DriveList *drives, FolderList *folders);
