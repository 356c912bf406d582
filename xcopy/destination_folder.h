#pragma once

#include <string>

// A folder of the destination tree. It is opened when it already exists and created, with its
// parents, only when something is about to go into it.
class DestinationFolder
{
  public:
    // The path or NAME must stay valid while this folder is in use.
    explicit DestinationFolder(const std::string &rootPath);
    DestinationFolder(DestinationFolder &parent, const char *name);
    ~DestinationFolder();
    DestinationFolder(const DestinationFolder &) = delete;
    DestinationFolder &operator=(const DestinationFolder &) = delete;

    // Descriptor of the folder, or -1 while it does not exist.
    int fd() const { return fd_; }
    // Created by this run, so it cannot hold any file yet.
    bool isNew() const { return isNew_; }
    // Creates the folder if needed; returns 0 or the errno value that prevented it.
    int create();

  private:
    void open(int parentFd, const char *name);

    DestinationFolder *parent_ = nullptr;
    const char *name_;
    int fd_ = -1;
    int error_ = 0;
    bool isNew_ = false;
};
