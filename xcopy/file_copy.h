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
    bool onDisk;             // not in memory, where a power cut leaves nothing to be wrong about

    // A new file on a disk gets its source's time only once its data is there.
    bool timesWaitForFlush() const { return onDisk && !replacesFile; }
};

// What a new file is to be given once its data is on the disk: the source's times, for the file
// that the copy linked in and no other put in its place since.
struct CopiedFile
{
    ino_t inode = 0;
    timespec changed = {};  // the inode's change time, which tells a file that reuses its number
    timespec times[2] = {}; // access and modification
};

// Copies the source file's content, holes and permission bits to a file beside the destination,
// unnamed where the file system allows it, and puts it in place only once complete, so an old file
// is never damaged by a failed or interrupted copy. A replacing copy is flushed, and carries the
// source's times, before the old file goes. A new file on a disk is linked in unflushed with a time
// older than its source's, so that until its data is there the next /D run copies it again: NEW
// FILE then receives what the caller gives it after a flush. Only a regular file is read: anything
// else put in its place since it was listed is refused unopened.
CopyFailure copyFile(int sourceFolderFd, const char *sourceName, const CopyTarget &target,
                     CopiedFile &newFile);
