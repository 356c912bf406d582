#include "time_compare.h"

#include <cstdlib>

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

long long nanoseconds(const timespec &time)
{
    return static_cast<long long>(time.tv_sec) * nanosecondsPerSecond + time.tv_nsec;
}

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

std::optional<long long> timeResolutionFromProbe(const timespec &kept)
{
    const long long lost = std::llabs(nanoseconds(probeTime) - nanoseconds(kept));
    // Whole seconds cannot turn the odd second into an even one: that takes 2-second steps.
    if (kept.tv_nsec == 0 && kept.tv_sec % 2 == 0 && lost < 2 * nanosecondsPerSecond)
        return 2 * nanosecondsPerSecond;
    for (long long step = 1; step <= nanosecondsPerSecond; step *= 10) {
        if (nanoseconds(kept) % step == 0 && lost < step)
            return step;
    }
    return std::nullopt;
}

bool destinationIsOlder(const timespec &source, const timespec &destination, long long resolutionNs)
{
    const long long secondsApart = static_cast<long long>(source.tv_sec) - destination.tv_sec;
    // Far apart is decided on whole seconds, which keeps the nanosecond sum below from overflowing.
    if (secondsApart > 3)
        return true;
    if (secondsApart < -3)
        return false;
    const long long apart =
        secondsApart * nanosecondsPerSecond + (source.tv_nsec - destination.tv_nsec);
    return apart > resolutionNs;
}
