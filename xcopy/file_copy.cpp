#include "file_copy.h"

#include "interrupt_cleanup.h"
#include "test_points.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

// Small enough that an interrupt is handled soon during a large file.
constexpr off_t kernelCopyChunk = 8 << 20;
constexpr std::size_t bufferSize = 256 << 10;

// How much older than its source a new file is until its data is on the disk: far more than any
// file system's time step, so that /D sees it as older whatever the destination.
constexpr time_t interimAge = 24 * 60 * 60;

// Once the kernel refuses to copy between these file systems, stop asking it for every file.
std::atomic<bool> kernelCopyUsable = true;

mode_t processUmask()
{
    static const mode_t mask = [] {
        const mode_t current = umask(0);
        umask(current);
        return current;
    }();
    return mask;
}

// Copying stops at end of file, or once the size seen by stat is reached, which spares the
// extra call that would only find the end. Files that claim size 0 are read to the end.
bool isComplete(off_t copied, off_t expected)
{
    return expected > 0 && copied >= expected;
}

off_t nextStep(off_t copied, off_t expected, off_t chunk)
{
    return expected > 0 ? std::min(chunk, expected - copied) : chunk;
}

CopyFailure readAndWrite(int from, int to, off_t expected)
{
    thread_local const std::unique_ptr<char[]> buffer(new char[bufferSize]);
    for (off_t copied = 0; !isComplete(copied, expected);) {
        const ssize_t got = read(from, buffer.get(), nextStep(copied, expected, bufferSize));
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return {errno, true};
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = write(to, buffer.get() + done, got - done);
            if (put < 0 && errno != EINTR)
                return {errno, false};
            done += put > 0 ? put : 0;
        }
        copied += got;
    }
    return {};
}

// Copies EXPECTED bytes (or up to the end when 0) from the current position of FROM to that of TO.
CopyFailure copyContent(int from, int to, off_t expected)
{
    off_t copied = 0;
    while (kernelCopyUsable && !isComplete(copied, expected)) {
        const ssize_t step = copy_file_range(from, nullptr, to, nullptr,
                                             nextStep(copied, expected, kernelCopyChunk), 0);
        if (step > 0) {
            copied += step;
            continue;
        }
        if (step == 0)
            return {};
        if (errno == EINTR)
            continue;
        const bool unsupported = errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP;
        if (copied > 0 || !(unsupported || errno == EINVAL))
            return {errno, false};
        if (unsupported)
            kernelCopyUsable = false;
        return readAndWrite(from, to, expected);
    }
    if (isComplete(copied, expected))
        return {};
    return readAndWrite(from, to, expected > 0 ? expected - copied : 0);
}

bool looksSparse(const struct stat &info)
{
    return info.st_blocks * 512 < info.st_size;
}

// Copies only the parts of a sparse file that hold data, and leaves the rest a hole, as a
// truncation to the full size makes it. Nothing is written where a file system cannot tell.
CopyFailure copyDataParts(int from, int to, off_t size)
{
    for (off_t offset = 0; offset < size;) {
        const off_t data = lseek(from, offset, SEEK_DATA);
        if (data < 0) {
            if (errno == ENXIO)
                break;
            return {errno, true};
        }
        const off_t hole = lseek(from, data, SEEK_HOLE);
        if (hole < 0 || lseek(from, data, SEEK_SET) < 0)
            return {errno, true};
        if (lseek(to, data, SEEK_SET) < 0)
            return {errno, false};
        if (const CopyFailure failure = copyContent(from, to, hole - data); failure.error != 0)
            return failure;
        offset = hole;
    }
    return ftruncate(to, size) == 0 ? CopyFailure{} : CopyFailure{errno, false};
}

// A destination that cannot leave holes (FAT through FUSE refuses the truncation) gets the whole
// content instead, the holes written as zeros.
CopyFailure copySparse(int from, int to, off_t size)
{
    const CopyFailure failure = copyDataParts(from, to, size);
    if (failure.error == 0 || failure.readingSource)
        return failure;
    if (lseek(from, 0, SEEK_SET) < 0)
        return {errno, true};
    if (lseek(to, 0, SEEK_SET) < 0)
        return {errno, false};
    return copyContent(from, to, size);
}

CopyFailure fillTemporary(int sourceFd, int temporaryFd, const struct stat &sourceInfo,
                          const timespec (&times)[2])
{
    const CopyFailure copied = looksSparse(sourceInfo)
                                   ? copySparse(sourceFd, temporaryFd, sourceInfo.st_size)
                                   : copyContent(sourceFd, temporaryFd, sourceInfo.st_size);
    if (copied.error != 0)
        return copied;
    // open() already applied the bits the umask lets through; only the rest needs fchmod,
    // and set-id bits only after writing, which would clear them. A file system without such bits
    // (FAT through FUSE) refuses them, and the file is copied with the bits it has.
    const mode_t permissions = sourceInfo.st_mode & 07777;
    if (permissions != (permissions & 0777 & ~processUmask()) &&
        fchmod(temporaryFd, permissions) != 0 && errno != ENOSYS && errno != EOPNOTSUPP &&
        errno != EPERM)
        return {errno, false};
    if (futimens(temporaryFd, times) != 0)
        return {errno, false};
    return {};
}

// The next hidden name for a temporary file of this process.
void nextTemporaryName(char (&name)[64])
{
    static const int processId = getpid();
    static std::atomic<unsigned> counter = 0;
    std::snprintf(name, sizeof name, ".xcopy-%d-%u.tmp", processId, ++counter);
}

// Creates a hidden, uniquely named file in the folder; NAME receives its name.
int createTemporary(int folderFd, mode_t mode, char (&name)[64])
{
    for (;;) {
        nextTemporaryName(name);
        const int fd = createTemporaryFile(folderFd, name, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
}

// Renames the complete temporary file over the destination, or removes it when the copy failed.
CopyFailure putInPlace(const CopyTarget &target, const char *temporaryName, CopyFailure failure)
{
    if (failure.error == 0 &&
        renameat(target.folderFd, temporaryName, target.folderFd, target.name) != 0)
        failure = {errno, false};
    if (failure.error != 0)
        unlinkat(target.folderFd, temporaryName, 0);
    forgetTemporaryFile();
    return failure;
}

// Where a file system has unnamed files, a copy is written as one and linked in once complete:
// nothing of it can be left behind, whatever ends the copy.
std::atomic<bool> unnamedFilesUsable = true;

int linkUnnamed(int fd, int folderFd, const char *name)
{
    if (linkat(fd, "", folderFd, name, AT_EMPTY_PATH) == 0)
        return 0;
    // Older kernels link a descriptor so only for privileged processes, but its /proc path for all.
    if (errno != ENOENT && errno != EPERM)
        return errno;
    char path[32];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    return linkat(AT_FDCWD, path, folderFd, name, AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

// A file cannot take another's place unnamed, so a complete replacement gets a temporary name, for
// the moment until the rename, which a killed copy leaves to the next run to remove.
int linkUnderTemporaryName(int fd, int folderFd, char (&name)[64])
{
    for (;;) {
        nextTemporaryName(name);
        const int error =
            linkTemporaryFile(folderFd, name, [&] { return linkUnnamed(fd, folderFd, name); });
        if (error != EEXIST)
            return error;
    }
}

// Nothing when this cannot be done here, and the caller copies the file under a temporary name.
std::optional<CopyFailure> writeUnnamed(int sourceFd, const struct stat &sourceInfo,
                                        const CopyTarget &target, const timespec (&times)[2])
{
    const int fd =
        openat(target.folderFd, ".", O_WRONLY | O_TMPFILE | O_CLOEXEC, sourceInfo.st_mode & 0777);
    if (fd < 0) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return CopyFailure{errno, false};
        unnamedFilesUsable = false;
        return std::nullopt;
    }
    CopyFailure filled = fillTemporary(sourceFd, fd, sourceInfo, times);
    if (filled.error == 0)
        reachTestPoint(TestPoint::TemporaryFilled, target.folderFd, target.name);
    if (filled.error == 0 && target.replacesFile && fdatasync(fd) != 0)
        filled = {errno, false};
    char temporaryName[64];
    int linkError = 0;
    if (filled.error == 0)
        linkError = target.replacesFile ? linkUnderTemporaryName(fd, target.folderFd, temporaryName)
                                        : linkUnnamed(fd, target.folderFd, target.name);
    close(fd);
    if ((linkError == ENOENT || linkError == EPERM) && lseek(sourceFd, 0, SEEK_SET) == 0) {
        // No /proc to link through: from now on files are copied under a temporary name.
        unnamedFilesUsable = false;
        return std::nullopt;
    }
    if (linkError != 0)
        return CopyFailure{linkError, false};
    if (filled.error != 0 || !target.replacesFile)
        return filled;
    return putInPlace(target, temporaryName, filled);
}

// Writes the copy under a temporary name and renames it into place.
CopyFailure writeNamed(int sourceFd, const struct stat &sourceInfo, const CopyTarget &target,
                       const timespec (&times)[2])
{
    char temporaryName[64];
    const int temporaryFd =
        createTemporary(target.folderFd, sourceInfo.st_mode & 0777, temporaryName);
    if (temporaryFd < 0)
        return {errno, false};

    CopyFailure failure = fillTemporary(sourceFd, temporaryFd, sourceInfo, times);
    if (failure.error == 0)
        reachTestPoint(TestPoint::TemporaryFilled, target.folderFd, temporaryName);
    // The old file goes only once its replacement is on the disk; a new name loses nothing.
    if (failure.error == 0 && target.replacesFile && fdatasync(temporaryFd) != 0)
        failure = {errno, false};
    if (close(temporaryFd) != 0 && failure.error == 0)
        failure = {errno, false};
    return putInPlace(target, temporaryName, failure);
}

CopyFailure writeCopy(int sourceFd, const struct stat &sourceInfo, const CopyTarget &target,
                      CopiedFile &newFile)
{
    // A replacement is on the disk before it is put in place, so it may carry the source's time at
    // once. A new file is not: until a flush has put its data there, it carries a time that /D
    // takes for older than the source's, so a power cut cannot leave it looking up to date. In
    // memory a power cut leaves no file at all, and nothing waits.
    timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
    if (target.timesWaitForFlush())
        times[1].tv_sec -= interimAge;
    std::optional<CopyFailure> failure;
    if (unnamedFilesUsable)
        failure = writeUnnamed(sourceFd, sourceInfo, target, times);
    if (!failure)
        failure = writeNamed(sourceFd, sourceInfo, target, times);
    if (failure->error == 0 && target.timesResetAtRename &&
        utimensat(target.folderFd, target.name, times, AT_SYMLINK_NOFOLLOW) != 0)
        failure = {errno, false};
    if (failure->error != 0 || !target.timesWaitForFlush())
        return *failure;
    struct stat linked;
    if (fstatat(target.folderFd, target.name, &linked, AT_SYMLINK_NOFOLLOW) != 0)
        return {errno, false};
    newFile = {linked.st_ino, linked.st_ctim, {sourceInfo.st_atim, sourceInfo.st_mtim}};
    return {};
}

} // namespace

CopyFailure copyFile(int sourceFolderFd, const char *sourceName, const CopyTarget &target,
                     CopiedFile &newFile)
{
    reachTestPoint(TestPoint::BeforeSourceOpen, sourceFolderFd, sourceName);
    // Not blocking, so that a FIFO or device put in the file's place cannot stall the copy.
    const int sourceFd =
        openat(sourceFolderFd, sourceName, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (sourceFd < 0)
        return {errno, true};
    // What is copied is what was opened: its size, mode and times, not those listed before.
    struct stat sourceInfo;
    CopyFailure failure;
    if (fstat(sourceFd, &sourceInfo) != 0)
        failure = {errno, true};
    else if (!S_ISREG(sourceInfo.st_mode))
        failure = {notARegularFile, true};
    else
        failure = writeCopy(sourceFd, sourceInfo, target, newFile);
    close(sourceFd);
    return failure;
}
