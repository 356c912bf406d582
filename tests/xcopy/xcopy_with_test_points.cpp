// The copy command with its test points live, steered through the environment:
//   XCOPY_TEST_FIFO_FOR=NAME    the source file NAME becomes a FIFO just before it is opened;
//   XCOPY_TEST_HOLD=1           each thread stops once its temporary file is complete;
// and its fdatasync and syncfs always fail with EIO.
#include "copy_command.h"
#include "test_points.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <sys/stat.h>
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
    while (point == TestPoint::TemporaryFilled && isSet("XCOPY_TEST_HOLD", "1"))
        pause();
}

// These replace the C library's own in this program only, and fail as a failing disk would.
extern "C" int fdatasync(int)
{
    errno = EIO;
    return -1;
}

extern "C" int syncfs(int) __attribute__((alias("fdatasync")));

int main(int argc, char **argv)
{
    return runCopyCommand(argc, argv);
}
