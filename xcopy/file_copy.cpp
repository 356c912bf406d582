#include "file_copy.h"

#include "interrupt_cleanup.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Small enough that an interrupt is handled soon during a large file.
constexpr size_t kernelCopyChunk = 8 << 20;

// Once the kernel refuses to copy between these file systems, stop asking it for every file.
bool kernelCopyUsable = true;

mode_t processUmask()
{
    static const mode_t mask = [] {
        const mode_t current = umask(0);
        umask(current);
        return current;
    }();
    return mask;
}

CopyFailure readAndWrite(int from, int to)
{
    static char buffer[256 << 10];
    for (;;) {
        const ssize_t got = read(from, buffer, sizeof buffer);
        if (got == 0)
            return {};
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return {errno, true};
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = write(to, buffer + done, got - done);
            if (put < 0 && errno != EINTR)
                return {errno, false};
            done += put > 0 ? put : 0;
        }
    }
}

CopyFailure copyContent(int from, int to)
{
    bool copiedAny = false;
    while (kernelCopyUsable) {
        const ssize_t copied = copy_file_range(from, nullptr, to, nullptr, kernelCopyChunk, 0);
        if (copied > 0) {
            copiedAny = true;
            continue;
        }
        if (copied == 0)
            return {};
        if (errno == EINTR)
            continue;
        const bool unsupported = errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP;
        if (copiedAny || !(unsupported || errno == EINVAL))
            return {errno, false};
        if (unsupported)
            kernelCopyUsable = false;
        break;
    }
    return readAndWrite(from, to);
}

// Creates a hidden, uniquely named file in the folder; NAME receives its name.
int createTemporary(int folderFd, mode_t mode, char (&name)[64])
{
    static unsigned counter = 0;
    for (;;) {
        std::snprintf(name, sizeof name, ".xcopy-%d-%u.tmp", static_cast<int>(getpid()), ++counter);
        rememberTemporaryFile(folderFd, name);
        const int fd = openat(folderFd, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            if (fd < 0)
                forgetTemporaryFile();
            return fd;
        }
    }
}

CopyFailure fillTemporary(int sourceFd, int temporaryFd, const struct stat &sourceInfo)
{
    if (const CopyFailure failure = copyContent(sourceFd, temporaryFd); failure.error != 0)
        return failure;
    // open() already applied the bits the umask lets through; only the rest needs fchmod,
    // and set-id bits only after writing, which would clear them.
    const mode_t permissions = sourceInfo.st_mode & 07777;
    if (permissions != (permissions & 0777 & ~processUmask()) &&
        fchmod(temporaryFd, permissions) != 0)
        return {errno, false};
    const timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
    if (futimens(temporaryFd, times) != 0)
        return {errno, false};
    return {};
}

} // namespace

CopyFailure copyFile(int sourceFolderFd, const char *sourceName, const struct stat &sourceInfo,
                     int destinationFolderFd, const char *destinationName)
{
    const int sourceFd = openat(sourceFolderFd, sourceName, O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (sourceFd < 0)
        return {errno, true};
    char temporaryName[64];
    const int temporaryFd =
        createTemporary(destinationFolderFd, sourceInfo.st_mode & 0777, temporaryName);
    if (temporaryFd < 0) {
        const CopyFailure failure{errno, false};
        close(sourceFd);
        return failure;
    }

    CopyFailure failure = fillTemporary(sourceFd, temporaryFd, sourceInfo);
    close(sourceFd);
    if (close(temporaryFd) != 0 && failure.error == 0)
        failure = {errno, false};
    if (failure.error == 0 &&
        renameat(destinationFolderFd, temporaryName, destinationFolderFd, destinationName) != 0)
        failure = {errno, false};
    if (failure.error != 0)
        unlinkat(destinationFolderFd, temporaryName, 0);
    forgetTemporaryFile();
    return failure;
}
