#include "destination_folder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t folderMode = 0777; // narrowed by the umask, as for mkdir(1)

// Creates every missing folder of the path, like mkdir -p. Returns 0 when the last one was
// created, EEXIST when it was there already, or another errno value.
int createWithParents(const std::string &path)
{
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        if (mkdir(path.substr(0, slash).c_str(), folderMode) != 0 && errno != EEXIST)
            return errno;
    }
    return mkdir(path.c_str(), folderMode) == 0 ? 0 : errno;
}

} // namespace

DestinationFolder::DestinationFolder(const std::string &rootPath) : name_(rootPath.c_str())
{
    open(AT_FDCWD, name_);
}

DestinationFolder::DestinationFolder(DestinationFolder &parent, const char *name)
    : parent_(&parent), name_(name)
{
    if (parent.fd_ >= 0 && !parent.isNew_)
        open(parent.fd_, name_);
}

DestinationFolder::~DestinationFolder()
{
    if (fd_ >= 0)
        close(fd_);
}

void DestinationFolder::open(int parentFd, const char *name)
{
    fd_ = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0 && errno != ENOENT)
        error_ = errno;
}

int DestinationFolder::create()
{
    if (fd_ >= 0 || error_ != 0)
        return error_;
    if (parent_ != nullptr && (error_ = parent_->create()) != 0)
        return error_;
    const int parentFd = parent_ != nullptr ? parent_->fd_ : AT_FDCWD;
    const int made = parent_ != nullptr ? (mkdirat(parentFd, name_, folderMode) == 0 ? 0 : errno)
                                        : createWithParents(name_);
    if (made != 0 && made != EEXIST)
        return error_ = made;
    isNew_ = made == 0;
    open(parentFd, name_);
    if (fd_ < 0 && error_ == 0)
        error_ = errno;
    return error_;
}
