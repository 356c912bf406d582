// The copy command with its test points live, steered through the environment:
//   XCOPY_TEST_FIFO_FOR=NAME    the source file NAME becomes a FIFO just before it is opened;
//   XCOPY_TEST_HOLD=filled      each thread stops once its copy of a file is complete, saying
//                               "Held" on standard error;
//   XCOPY_TEST_NAMED=1          the destination has no unnamed files, as a FAT stick has none;
// and its fdatasync and syncfs always fail with EIO.
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
    if (point == TestPoint::TemporaryFilled && isSet("XCOPY_TEST_HOLD", "filled")) {
        [[maybe_unused]] const auto written = write(STDERR_FILENO, "Held\n", 5);
        for (;;)
            pause();
    }
}

// These replace the C library's own in this program only, and fail as a failing disk would.
extern "C" int fdatasync(int)
{
    errno = EIO;
    return -1;
}

extern "C" int syncfs(int) __attribute__((alias("fdatasync")));

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
