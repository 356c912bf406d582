#pragma once

#include <string>
#include <sys/stat.h>

// Absolute form of the path with "." , ".." and symbolic links resolved as far as it exists; the
// missing rest is joined as written, the way creating it folder by folder would resolve it.
std::string resolvePath(const std::string &path);

// The path itself when it is an existing folder, else its nearest existing parent folder.
std::string nearestExistingFolder(const std::string &absolutePath);

// Whether the resolved path is the folder FOLDER_INFO describes, or lies anywhere below it. Folders
// are told apart by device and inode, so a bind mount, a second mount of the same file system or
// a link cannot hide that a path leads into the folder.
bool leadsInto(const std::string &resolvedPath, const struct stat &folderInfo);
