#pragma once

#include <sys/stat.h>

struct CopyFailure
{
    int error = 0;              // errno value, 0 when the copy succeeded
    bool readingSource = false; // otherwise the destination could not be written
};

// Copies the source file's content, permission bits and times to a temporary file beside the
// destination and renames it over the destination only once complete, so an old file is never
// damaged by a failed or interrupted copy.
CopyFailure copyFile(int sourceFolderFd, const char *sourceName, const struct stat &sourceInfo,
                     int destinationFolderFd, const char *destinationName);
