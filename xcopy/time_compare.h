#pragma once

#include <ctime>
#include <string>

// Smallest step, in nanoseconds, in which a file system of this statfs type stores modification
// times.
long long timeResolutionOfFileSystem(long fileSystemType);

// Resolution of the file system holding the path, or its nearest existing parent folder.
long long timeResolutionAt(const std::string &absolutePath);

// Whether the destination is older than the source by more than its file system can store apart.
bool destinationIsOlder(const timespec &source, const timespec &destination,
                        long long resolutionNs);
