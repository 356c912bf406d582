#pragma once

#include "destination_folder.h"
#include "file_copy.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// New files go into the destination unflushed and with a time older than their sources' (see
// copyFile()); here they get their sources' times, in batches, each only after a flush of the whole
// file system has put the batch's data on the disk. Until then a power cut leaves each of them old
// in the eyes of /D, so the next run copies it again; after it, the data is there. One flush per
// batch costs far less than one per file, and batches keep the memory small.
class DeferredTimes
{
  public:
    using Failure = std::function<void(const char *what, const std::string &path, int error)>;

    // ROOT is the destination folder; ROOT_PATH names it in the messages given to FAIL.
    DeferredTimes(std::shared_ptr<const DestinationFolder> root, std::string rootPath,
                  Failure fail);

    // Keeps the times of the new file NAME in FOLDER; a full batch is flushed and given its times
    // at once, by the calling thread.
    void add(const DestinationFolder &folder, const char *name, const CopiedFile &file);
    // Gives the files kept so far their times; the caller has just flushed the file system.
    // Returns how many were given.
    long giveFlushed();

  private:
    struct Entry
    {
        std::string folder; // below the root, "" for the root itself
        std::string name;
        CopiedFile file;
    };

    static bool isTheCopy(int folderFd, const Entry &entry);
    long give(std::vector<Entry> &batch);
    std::string pathOf(const Entry &entry) const;

    const std::shared_ptr<const DestinationFolder> root_;
    const std::string rootPath_;
    const Failure fail_;
    std::mutex mutex_;
    std::vector<Entry> pending_;
};
