#pragma once

#include <sys/stat.h>

// errno-like values: a source that turned out, when opened, not to be a regular file; a link in the
// destination where the source has a file or folder.
constexpr int notARegularFile = -1;
constexpr int linkNotFollowed = -2;

struct CopyFailure
{
    int error = 0;              // errno value or notARegularFile, 0 when the copy succeeded
    bool readingSource = false; // otherwise the destination could not be written
};

struct CopyTarget
{
    int folderFd;
    const char *name;
    bool replacesFile;       // an old file of that name is there and must survive a failed copy
    bool timesResetAtRename; // the destination's file system stamps a renamed file anew
};

// Copies the source file's content, holes, permission bits and times to a file beside the
// destination, unnamed where the file system allows it, and puts it in place only once complete
// (and, when it replaces a file, on the disk), so an old file is never damaged by a failed or
// interrupted copy. Only a regular file is read: anything else put in its place since it was
// listed is refused unopened.
CopyFailure copyFile(int sourceFolderFd, const char *sourceName, const CopyTarget &target);
