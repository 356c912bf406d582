#pragma once

#include <ctime>
#include <optional>

// Smallest step, in nanoseconds, in which a file system of this statfs type stores modification
// times: a guess for where nothing may be written to measure it.
long long timeResolutionOfFileSystem(long fileSystemType);

// The time a file is given to learn a file system's step: an odd second and nine digits of
// fraction, so that every step from 1 ns to 2 s cuts it differently.
constexpr timespec probeTime{1'000'000'001, 123'456'789};

// The step that turned probeTime into KEPT, or nothing when no step explains it (the file
// system set a time of its own).
std::optional<long long> timeResolutionFromProbe(const timespec &kept);

// Whether the destination is older than the source by more than its file system can store apart.
bool destinationIsOlder(const timespec &source, const timespec &destination,
                        long long resolutionNs);
