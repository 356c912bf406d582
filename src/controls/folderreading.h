// Reading a folder for the folder and file lists.
#pragma once

#include <QDir>
#include <QStringList>

struct FolderContents
{
    QStringList names; // in name order, hidden and system entries left out
    QString failure;   // the folder and the system's reason when it cannot be read, else empty
};

// The subfolders (QDir::Dirs) or the files (QDir::Files) of a folder.
FolderContents readFolder(const QString &path, QDir::Filters kind);
