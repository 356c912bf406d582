#include "destination_folder.h"
#include "interrupt_cleanup.h"
#include "options.h"
#include "path_resolve.h"
#include "time_compare.h"
#include "tree_copy.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

enum ExitStatus { done = 0, nothingFound = 1, invalidArguments = 4, fileFailed = 5 };

int refuse(const char *message, const std::string &path, int error = 0)
{
    if (error != 0)
        std::fprintf(stderr, "%s - %s: %s\n", message, path.c_str(), std::strerror(error));
    else
        std::fprintf(stderr, "%s - %s\n", message, path.c_str());
    return invalidArguments;
}

// Each folder on the current path holds a descriptor, so deep trees need more than the default.
void allowAllOpenFiles()
{
    struct rlimit limit;
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

std::string baseName(const std::string &path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int copy(const Options &options)
{
    struct stat sourceInfo;
    if (stat(options.source.c_str(), &sourceInfo) != 0)
        return refuse("Cannot find the source", options.source, errno);
    const bool sourceIsFolder = S_ISDIR(sourceInfo.st_mode);
    if (!sourceIsFolder && !S_ISREG(sourceInfo.st_mode))
        return refuse("The source is neither a folder nor a file", options.source);

    const std::string destination = resolvePath(options.destination);
    if (sourceIsFolder && isSameOrInside(destination, resolvePath(options.source))) {
        std::fputs("Cannot perform a cyclic copy\n", stderr);
        return invalidArguments;
    }
    struct stat destinationInfo;
    if (stat(options.destination.c_str(), &destinationInfo) == 0 &&
        !S_ISDIR(destinationInfo.st_mode))
        return refuse("The destination is not a folder", options.destination);

    TreeCopy tree(options, timeResolutionAt(destination));
    DestinationFolder destinationRoot(options.destination);
    if (sourceIsFolder) {
        const int fd = open(options.source.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        DIR *source = fd >= 0 ? fdopendir(fd) : nullptr;
        if (source == nullptr)
            return refuse("Cannot read the source", options.source, errno);
        tree.copyFolder(source, destinationRoot);
        closedir(source);
    } else {
        tree.copySourceFile(sourceInfo, destinationRoot, baseName(options.source).c_str());
    }

    const Tally &tally = tree.tally();
    std::printf("%ld File(s) copied\n", tally.copied);
    if (tally.failed > 0)
        return fileFailed;
    return tally.found > 0 ? done : nothingFound;
}

} // namespace

int main(int argc, char **argv)
{
    const ParsedArguments parsed = parseArguments(argc, argv);
    switch (parsed.outcome) {
    case ParsedArguments::Outcome::ShowUsage:
        printUsage();
        return done;
    case ParsedArguments::Outcome::Invalid:
        std::fprintf(stderr, "%s\n", parsed.error.c_str());
        return invalidArguments;
    case ParsedArguments::Outcome::Run:
        break;
    }
    installInterruptHandlers();
    allowAllOpenFiles();
    return copy(parsed.options);
}
