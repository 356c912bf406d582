#pragma once

#include <string>

// How the destination's file system keeps modification times.
struct DestinationTimes
{
    long long resolutionNs = 1; // the step in which times are stored
    bool resetAtRename = false; // a renamed file gets a time of the file system's own
};

// Measured at the destination folder, or its nearest existing parent, on a file written there for
// a moment; guessed from the file system's type when MAY_WRITE is false or nothing can be written.
DestinationTimes destinationTimesAt(const std::string &absolutePath, bool mayWrite);
