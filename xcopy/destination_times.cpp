#include "destination_times.h"

#include "path_resolve.h"
#include "time_compare.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

// Reads the time from the file system itself: a FUSE file system's cached times hide what it did.
std::optional<timespec> keptTime(int folderFd, const char *name)
{
    struct statx info;
    if (statx(folderFd, name, AT_STATX_FORCE_SYNC, STATX_MTIME, &info) != 0)
        return std::nullopt;
    return timespec{info.stx_mtime.tv_sec, info.stx_mtime.tv_nsec};
}

// Writes a file the way a copy does (content, time, rename) and sees what time it keeps.
std::optional<DestinationTimes> probe(int folderFd, const char *name, const char *renamed)
{
    const int fd = openat(folderFd, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return std::nullopt;
    const timespec times[2] = {probeTime, probeTime};
    const bool written = write(fd, "x", 1) == 1 && futimens(fd, times) == 0;
    const bool closed = close(fd) == 0;
    if (!written || !closed || renameat(folderFd, name, folderFd, renamed) != 0) {
        unlinkat(folderFd, name, 0);
        return std::nullopt;
    }
    DestinationTimes found;
    std::optional<timespec> kept = keptTime(folderFd, renamed);
    if (kept && !timeResolutionFromProbe(*kept)) {
        found.resetAtRename = true;
        kept = utimensat(folderFd, renamed, times, 0) == 0 ? keptTime(folderFd, renamed)
                                                             : std::nullopt;
    }
    unlinkat(folderFd, renamed, 0);
    const std::optional<long long> resolution = kept ? timeResolutionFromProbe(*kept) : std::nullopt;
    if (!resolution)
        return std::nullopt;
    found.resolutionNs = *resolution;
    return found;
}

std::optional<DestinationTimes> measure(const std::string &folder)
{
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return std::nullopt;
    char name[64], renamed[64];
    std::snprintf(name, sizeof name, ".xcopy-%d-probe.tmp", getpid());
    std::snprintf(renamed, sizeof renamed, ".xcopy-%d-probed.tmp", getpid());
    // An interrupt waits the few calls it takes, so that the probe never stays behind.
    sigset_t interrupts, before;
    sigemptyset(&interrupts);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&interrupts, signal);
    pthread_sigmask(SIG_BLOCK, &interrupts, &before);
    const std::optional<DestinationTimes> found = probe(folderFd, name, renamed);
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    close(folderFd);
    return found;
}

} // namespace

DestinationTimes destinationTimesAt(const std::string &absolutePath, bool mayWrite)
{
    const std::string folder = nearestExistingFolder(absolutePath);
    if (mayWrite) {
        if (const std::optional<DestinationTimes> measured = measure(folder))
            return *measured;
    }
    struct statfs info;
    if (statfs(folder.c_str(), &info) != 0)
        return {};
    return {timeResolutionOfFileSystem(info.f_type), false};
}
