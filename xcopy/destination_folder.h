#pragma once

#include "file_copy.h"

#include <atomic>
#include <memory>
#include <string>
#include <sys/stat.h>

// A folder of the destination tree. It is opened when it already exists and created, with its
// parents, only when something is about to go into it. Threads walking its subfolders share it.
// Below the destination folder itself no link is followed: one planted there could lead anywhere.
class DestinationFolder
{
  public:
    explicit DestinationFolder(std::string rootPath);
    DestinationFolder(std::shared_ptr<DestinationFolder> parent, std::string name);
    ~DestinationFolder();
    DestinationFolder(const DestinationFolder &) = delete;
    DestinationFolder &operator=(const DestinationFolder &) = delete;

    // Descriptor of the folder, or -1 while it does not exist.
    int fd() const { return fd_.load(std::memory_order_acquire); }
    // Created by this run, so it holds no file but those this run put there.
    bool isNew() const { return isNew_.load(std::memory_order_acquire); }
    // Creates the folder if needed; returns 0 or the errno value that prevented it.
    int create();
    // The folder is on a file system in memory, which keeps nothing through a power cut.
    bool inMemory() const { return inMemory_.load(std::memory_order_acquire); }
    // A link stands where the folder should be; it is neither followed nor replaced.
    bool isLink() const { return error_ == linkNotFollowed; }
    // The path from the destination folder, "" for that folder itself.
    std::string relativePath() const;

  private:
    void open(int parentFd);
    int createHoldingLock();

    const std::shared_ptr<DestinationFolder> parent_;
    const std::string name_;
    std::atomic<int> fd_ = -1;
    std::atomic<bool> isNew_ = false;
    std::atomic<bool> inMemory_ = false;
    int error_ = 0; // guarded by the creation lock once the folder is shared
};
