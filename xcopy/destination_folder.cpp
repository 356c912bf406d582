#include "destination_folder.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/magic.h>
#include <mutex>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

constexpr mode_t folderMode = 0777; // narrowed by the umask, as for mkdir(1)

// Folders are created seldom, so one lock for all of them costs nothing and keeps a parent from
// being created twice by two threads filling different subfolders.
std::mutex creationLock;

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

DestinationFolder::DestinationFolder(std::string rootPath) : name_(std::move(rootPath))
{
    open(AT_FDCWD);
}

DestinationFolder::DestinationFolder(std::shared_ptr<DestinationFolder> parent, std::string name)
    : parent_(std::move(parent)), name_(std::move(name))
{
    if (parent_->fd() >= 0 && !parent_->isNew())
        open(parent_->fd());
}

DestinationFolder::~DestinationFolder()
{
    if (fd() >= 0)
        close(fd());
}

void DestinationFolder::open(int parentFd)
{
    const int noFollow = parent_ != nullptr ? O_NOFOLLOW : 0;
    const int fd = openat(parentFd, name_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | noFollow);
    struct stat info;
    if (fd < 0 && errno == ENOTDIR && noFollow &&
        fstatat(parentFd, name_.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode))
        error_ = linkNotFollowed;
    else if (fd < 0 && errno != ENOENT)
        error_ = errno;
    struct statfs place;
    inMemory_.store(fd >= 0 && fstatfs(fd, &place) == 0 &&
                        (place.f_type == TMPFS_MAGIC || place.f_type == RAMFS_MAGIC),
                    std::memory_order_release);
    fd_.store(fd, std::memory_order_release);
}

int DestinationFolder::create()
{
    if (fd() >= 0)
        return 0;
    const std::lock_guard lock(creationLock);
    return createHoldingLock();
}

int DestinationFolder::createHoldingLock()
{
    if (fd() >= 0 || error_ != 0)
        return error_;
    if (parent_ != nullptr && (error_ = parent_->createHoldingLock()) != 0)
        return error_;
    const int parentFd = parent_ != nullptr ? parent_->fd() : AT_FDCWD;
    const int made = parent_ != nullptr
                         ? (mkdirat(parentFd, name_.c_str(), folderMode) == 0 ? 0 : errno)
                         : createWithParents(name_);
    if (made != 0 && made != EEXIST)
        return error_ = made;
    isNew_.store(made == 0, std::memory_order_release);
    open(parentFd);
    if (fd() < 0 && error_ == 0)
        error_ = errno;
    return error_;
}

std::string DestinationFolder::relativePath() const
{
    if (parent_ == nullptr)
        return {};
    std::string path = parent_->relativePath();
    return path.empty() ? name_ : path + '/' + name_;
}
