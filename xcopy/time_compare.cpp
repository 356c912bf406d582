#include "time_compare.h"

#include <algorithm>
#include <sys/vfs.h>

namespace {

constexpr long long nanosecondsPerSecond = 1'000'000'000;

constexpr long msdosMagic = 0x4d44;
constexpr long exfatMagic = 0x2011BAB0;
constexpr long ntfsMagic = 0x5346544e;
constexpr long ntfs3Magic = 0x7366746e;
// fuseblk is mostly NTFS through ntfs-3g; its finer step copies more rather than miss a change.
constexpr long fuseMagic = 0x65735546;
constexpr long cifsMagic = 0xFF534D42;
constexpr long smb2Magic = 0xFE534D42;

} // namespace

long long timeResolutionOfFileSystem(long fileSystemType)
{
    switch (fileSystemType) {
    case msdosMagic:
    case exfatMagic:
        return 2 * nanosecondsPerSecond;
    case ntfsMagic:
    case ntfs3Magic:
    case fuseMagic:
    case cifsMagic:
    case smb2Magic:
        return 100;
    default:
        return 1;
    }
}

long long timeResolutionAt(const std::string &absolutePath)
{
    std::string existing = absolutePath;
    struct statfs info;
    while (statfs(existing.c_str(), &info) != 0) {
        if (existing == "/")
            return 1;
        const auto slash = existing.find_last_of('/');
        existing.resize(slash == 0 ? 1 : slash);
    }
    return timeResolutionOfFileSystem(info.f_type);
}

bool destinationIsOlder(const timespec &source, const timespec &destination, long long resolutionNs)
{
    long long tolerance = resolutionNs;
    // A time with no fraction of a second may have passed through a coarser file system (a FAT
    // stick, an archive) that cut it to whole or even seconds; that cut does not make it older.
    if (destination.tv_nsec == 0) {
        const long long cut = destination.tv_sec % 2 == 0 ? 2 : 1;
        tolerance = std::max(tolerance, cut * nanosecondsPerSecond);
    }
    const long long secondsApart = static_cast<long long>(source.tv_sec) - destination.tv_sec;
    // Far apart is decided on whole seconds, which keeps the nanosecond sum below from overflowing.
    if (secondsApart > 3)
        return true;
    if (secondsApart < -3)
        return false;
    const long long apart =
        secondsApart * nanosecondsPerSecond + (source.tv_nsec - destination.tv_nsec);
    return apart > tolerance;
}
