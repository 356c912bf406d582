// The copy command with its test points live, steered through the environment:
//   XCOPY_TEST_FIFO_FOR=NAME    the source file NAME becomes a FIFO just before it is opened;
//   XCOPY_TEST_HOLD=filled      each thread stops once its copy of a file is complete,
//   XCOPY_TEST_HOLD=flush       or the run once every file is copied, before any flush,
//                               saying "Held" on standard error;
//   XCOPY_TEST_RENEW_FOR=NAME   another program puts a new file in the place of the copy NAME
//                               before the copy gives it its source's time;
//   XCOPY_TEST_NAMED=1          the destination has no unnamed files, as a FAT stick has none;
//   XCOPY_TEST_FLUSH=fail       fdatasync and syncfs fail with EIO, as on a failing disk.
#include "copy_command.h"
#include "test_points.h"

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

static bool isSet(const char *variable, std::string_view value)
{
    return std::getenv(variable) != nullptr && std::getenv(variable) == value;
}

void reachTestPoint(TestPoint point, int folderFd, const char *name)
{
    // A failed swap shows in the test, as the file copied.
    if (point == TestPoint::BeforeSourceOpen && isSet("XCOPY_TEST_FIFO_FOR", name)) {
        unlinkat(folderFd, name, 0);
        mkfifoat(folderFd, name, 0644);
    }
    if (point == TestPoint::BeforeTimeGiven && isSet("XCOPY_TEST_RENEW_FOR", name)) {
        unlinkat(folderFd, name, 0);
        close(openat(folderFd, name, O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    }
    if ((point == TestPoint::TemporaryFilled && isSet("XCOPY_TEST_HOLD", "filled")) ||
        (point == TestPoint::BeforeFlush && isSet("XCOPY_TEST_HOLD", "flush"))) {
        [[maybe_unused]] const auto written = write(STDERR_FILENO, "Held\n", 5);
        for (;;)
            pause();
    }
}

// These replace the C library's own in this program only.
static int flushed(long call, int fd)
{
    if (isSet("XCOPY_TEST_FLUSH", "fail")) {
        errno = EIO;
        return -1;
    }
    return static_cast<int>(syscall(call, fd));
}

extern "C" int fdatasync(int fd)
{
    return flushed(SYS_fdatasync, fd);
}

extern "C" int syncfs(int fd)
{
    return flushed(SYS_syncfs, fd);
}

// Refuses unnamed files when asked to, and opens everything else as the C library would.
extern "C" int openat(int folderFd, const char *name, int flags, ...)
{
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list rest;
        va_start(rest, flags);
        mode = va_arg(rest, mode_t);
        va_end(rest);
    }
    if ((flags & O_TMPFILE) == O_TMPFILE && isSet("XCOPY_TEST_NAMED", "1")) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return static_cast<int>(syscall(SYS_openat, folderFd, name, flags, mode));
}

int main(int argc, char **argv)
{
    return runCopyCommand(argc, argv);
}
