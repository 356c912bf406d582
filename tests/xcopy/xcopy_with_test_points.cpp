// The copy command with its test points live, steered through the environment:
//   XCOPY_TEST_FIFO_FOR=NAME    the source file NAME becomes a FIFO just before it is opened;
//   XCOPY_TEST_HOLD=1           each thread stops once its temporary file is complete;
//   XCOPY_TEST_FAIL=fdatasync   (or syncfs) that flush fails with EIO.
#include "copy_command.h"
#include "test_points.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

bool isSet(const char *variable, std::string_view value)
{
    return std::getenv(variable) != nullptr && std::getenv(variable) == value;
}

// Fails with EIO where XCOPY_TEST_FAIL names the call, else makes it.
int failOrCall(const char *call, long number, int fd)
{
    if (!isSet("XCOPY_TEST_FAIL", call))
        return static_cast<int>(syscall(number, fd));
    errno = EIO;
    return -1;
}

} // namespace

void reachTestPoint(TestPoint point, int folderFd, const char *name)
{
    if (point == TestPoint::BeforeSourceOpen && isSet("XCOPY_TEST_FIFO_FOR", name)) {
        if (unlinkat(folderFd, name, 0) != 0 || mkfifoat(folderFd, name, 0644) != 0)
            std::abort();
    }
    if (point == TestPoint::TemporaryFilled && isSet("XCOPY_TEST_HOLD", "1")) {
        for (;;)
            pause();
    }
}

// These replace the C library's own in this program only.
extern "C" int fdatasync(int fd)
{
    return failOrCall("fdatasync", SYS_fdatasync, fd);
}

extern "C" int syncfs(int fd)
{
    return failOrCall("syncfs", SYS_syncfs, fd);
}

int main(int argc, char **argv)
{
    return runCopyCommand(argc, argv);
}
