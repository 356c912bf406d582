// Stands in for a copy command with a given output and ending:
//   copy_stand_in LABEL OUT_LINES ERR_LINES ENDING [HOLD_FILE]
// prints OUT_LINES lines "LABEL line N" to its output and ERR_LINES lines naming a file it could
// not copy to its error output, the last of them without its line end, then ends with the exit
// status ENDING, or by the signal -ENDING when that is negative. With HOLD_FILE it first creates
// that file, as a copy makes its temporary file, and holds until SIGTERM, which removes it and ends
// with status 2, or for a minute at most, so that a test that dies leaves no stand-in behind.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

const char *holdFile;

extern "C" void onTerminate(int)
{
    unlink(holdFile);
    _exit(2);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 5)
        return 100;
    const long outLines = std::atol(argv[2]);
    const long errLines = std::atol(argv[3]);
    const int ending = std::atoi(argv[4]);
    for (long line = 1; line <= outLines; ++line)
        std::printf("%s line %ld\n", argv[1], line);
    std::fflush(stdout);
    for (long line = 1; line <= errLines; ++line)
        std::fprintf(stderr, "%sCannot read %s/file%ld: Permission denied", line > 1 ? "\n" : "",
                     argv[1], line);
    if (argc > 5) {
        holdFile = argv[5];
        std::signal(SIGTERM, onTerminate);
        close(open(holdFile, O_WRONLY | O_CREAT, 0600));
        alarm(60);
        for (;;)
            pause();
    }
    if (ending < 0)
        raise(-ending);
    return ending;
}
