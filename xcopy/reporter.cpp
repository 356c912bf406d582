#include "reporter.h"

#include <cstdio>
#include <cstring>

void Reporter::copied(const std::string &source, const std::string &destination) const
{
    if (quiet_)
        return;
    std::fwrite(source.data(), 1, source.size(), stdout);
    if (fullNames_) {
        std::fputs(" -> ", stdout);
        std::fwrite(destination.data(), 1, destination.size(), stdout);
    }
    std::fputc('\n', stdout);
}

void Reporter::failed(const char *what, const std::string &path, int error) const
{
    // Keeps the messages next to the file names printed before them.
    std::fflush(stdout);
    std::fprintf(stderr, "%s %s: %s\n", what, path.c_str(), std::strerror(error));
}
