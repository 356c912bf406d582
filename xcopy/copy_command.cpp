#include "copy_command.h"

#include "destination_folder.h"
#include "destination_times.h"
#include "interrupt_cleanup.h"
#include "mount_cycle.h"
#include "options.h"
#include "path_resolve.h"
#include "reporter.h"
#include "test_points.h"
#include "tree_copy.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum ExitStatus { done = 0, nothingFound = 1, invalidArguments = 4, fileFailed = 5 };

// Threads that walk the tree unless XCOPY_THREADS says otherwise (1 walks it in one thread, for
// comparison). A disk answers several requests at once, and on a busy machine more threads get a
// larger share of the processors; fewer were slower on a cold tree.
constexpr int defaultThreads = 8;

int refuse(const char *message, const std::string &path, int error = 0)
{
    if (error != 0)
        std::fprintf(stderr, "%s - %s: %s\n", message, path.c_str(), std::strerror(error));
    else
        std::fprintf(stderr, "%s - %s\n", message, path.c_str());
    return invalidArguments;
}

int refuseCyclicCopy()
{
    std::fputs("Cannot perform a cyclic copy\n", stderr);
    return invalidArguments;
}

// Each folder on a thread's current path holds a descriptor, so deep trees need more than the
// default.
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

int threadCount()
{
    if (const char *chosen = std::getenv("XCOPY_THREADS"); chosen != nullptr && *chosen != 0)
        return std::clamp(std::atoi(chosen), 1, maxTemporaryFileHolders);
    return defaultThreads;
}

int flush(const DestinationFolder &root)
{
    return syncfs(root.fd()) == 0 ? 0 : errno;
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
    if (sourceIsFolder && leadsInto(destination, sourceInfo))
        return refuseCyclicCopy();
    // A mount can show a source folder elsewhere, where its path does not tell.
    if (sourceIsFolder && options.subfolders &&
        sourceTreeHoldsDestination(resolvePath(options.source), destination, options.hidden))
        return refuseCyclicCopy();
    struct stat destinationInfo;
    if (stat(options.destination.c_str(), &destinationInfo) == 0 &&
        !S_ISDIR(destinationInfo.st_mode))
        return refuse("The destination is not a folder", options.destination);

    const int sourceFd =
        sourceIsFolder ? open(options.source.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    if (sourceIsFolder && sourceFd < 0)
        return refuse("Cannot read the source", options.source, errno);

    const DestinationTimes destinationTimes = destinationTimesAt(destination, !options.listOnly);
    Reporter reporter(options.quiet, options.fullNames,
                      isatty(STDOUT_FILENO) == 1 || isatty(STDIN_FILENO) == 1);
    auto destinationRoot = std::make_shared<DestinationFolder>(options.destination);
    TreeCopy tree(options, destinationTimes, reporter, destinationRoot);
    if (sourceIsFolder)
        tree.copyFolderTree(sourceFd, threadCount());
    else
        tree.copySourceFile(sourceInfo, baseName(options.source).c_str());

    const Tally &tally = tree.tally();
    // "Copied" means on the disk: one flush of the whole file system is far cheaper than one for
    // each new file. The new files get their sources' times only after it, and a second flush
    // keeps those.
    int flushError = 0;
    if (tally.copied > 0 && !options.listOnly) {
        reachTestPoint(TestPoint::BeforeFlush, destinationRoot->fd(), ".");
        flushError = flush(*destinationRoot);
        if (flushError == 0 && tree.giveDeferredTimes() > 0)
            flushError = flush(*destinationRoot);
    }
    if (flushError != 0)
        reporter.failed("Cannot flush", options.destination, flushError);
    const bool failed = tally.failed > 0 || flushError != 0;
    reporter.summary(tally.copied);
    if (failed)
        return fileFailed;
    return tally.found > 0 ? done : nothingFound;
}

} // namespace

int runCopyCommand(int argc, char **argv)
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
