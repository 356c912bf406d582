#pragma once

#include "deferred_times.h"
#include "destination_folder.h"
#include "destination_times.h"
#include "options.h"
#include "overwrite_prompt.h"
#include "reporter.h"
#include "work_queue.h"

#include <atomic>
#include <dirent.h>
#include <memory>
#include <string>
#include <sys/stat.h>

struct Tally
{
    std::atomic<long> found = 0;  // source files that pass the filters
    std::atomic<long> copied = 0; // copied, or listed under /L
    std::atomic<long> failed = 0; // files and folders that could not be handled
};

// Walks the source tree and copies the files the options select. Folders are shared out to a pool
// of threads through a short queue; a thread that finds the queue full walks the folder itself,
// depth first, so that only the folders on the threads' current paths and in the queue are held.
class TreeCopy
{
  public:
    // ROOT is the destination folder.
    TreeCopy(const Options &options, const DestinationTimes &destinationTimes, Reporter &reporter,
             std::shared_ptr<DestinationFolder> root);

    // Copies what is below the open source folder, whose descriptor it takes over, with THREADS
    // threads, the calling one among them.
    void copyFolderTree(int sourceFd, int threads);
    // Copies a source that is a single file into the destination folder under DESTINATION_NAME.
    void copySourceFile(const struct stat &sourceInfo, const char *destinationName);
    // Gives the new files their sources' times, once the caller has flushed the file system.
    // Returns how many it gave.
    long giveDeferredTimes() { return deferredTimes_.giveFlushed(); }
    const Tally &tally() const { return tally_; }

  private:
    // Paths of the entry at hand, grown and cut back as a thread's walk goes, for messages only.
    struct Paths
    {
        std::string source;
        std::string destination;
    };
    struct FolderTask
    {
        int sourceFd;
        std::shared_ptr<DestinationFolder> destination;
        Paths paths;
    };
    enum class Wanted { No, AsNewFile, AsReplacement };

    void work();
    void copyFolder(int sourceFd, const std::shared_ptr<DestinationFolder> &destination,
                    Paths &paths);
    void copyEntry(int sourceFolderFd, const dirent &entry,
                   const std::shared_ptr<DestinationFolder> &destination, Paths &paths);
    void copySubfolder(int sourceFolderFd, const char *name,
                       const std::shared_ptr<DestinationFolder> &destination, Paths &paths);
    // SOURCE_INFO is what the listing found, or null where the destination holds no file and no
    // date is asked for, so that nothing needs comparing.
    void copyIfWanted(int sourceFolderFd, const char *sourceName, const struct stat *sourceInfo,
                      DestinationFolder &destination, const char *destinationName, Paths &paths);
    static bool holdsNoFile(const DestinationFolder &destination);
    Wanted wanted(const struct stat &sourceInfo, DestinationFolder &destination,
                  const char *destinationName, const Paths &paths);
    void fail(const char *what, const std::string &path, int error);

    const Options &options_;
    const DestinationTimes destinationTimes_;
    Reporter &reporter_;
    OverwritePrompt prompt_;
    Tally tally_;
    const std::shared_ptr<DestinationFolder> root_;
    DeferredTimes deferredTimes_;
    std::unique_ptr<WorkQueue<FolderTask>> folders_;
};
