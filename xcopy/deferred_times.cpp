#include "deferred_times.h"

#include "test_points.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Files per flush. Smaller batches give the times while the copy goes on instead of all at the end,
// which measured faster on a wide tree, and keep the names held few.
constexpr std::size_t batchSize = 1000;

std::string joined(const std::string &folder, const std::string &name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + '/' + name;
}

// Opens FOLDER below the root without following any link: the tree may have changed since.
int openBelow(int rootFd, const std::string &folder)
{
    open_how how = {};
    how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS;
    return static_cast<int>(
        syscall(SYS_openat2, rootFd, folder.empty() ? "." : folder.c_str(), &how, sizeof how));
}

} // namespace

bool DeferredTimes::isTheCopy(int folderFd, const Entry &entry)
{
    struct stat info;
    return folderFd >= 0 &&
           fstatat(folderFd, entry.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           info.st_ino == entry.file.inode && info.st_ctim.tv_sec == entry.file.changed.tv_sec &&
           info.st_ctim.tv_nsec == entry.file.changed.tv_nsec;
}

DeferredTimes::DeferredTimes(std::shared_ptr<const DestinationFolder> root, std::string rootPath,
                             Failure fail)
    : root_(std::move(root)), rootPath_(std::move(rootPath)), fail_(std::move(fail))
{
}

void DeferredTimes::add(const DestinationFolder &folder, const char *name, const CopiedFile &file)
{
    std::vector<Entry> full;
    {
        const std::lock_guard lock(mutex_);
        pending_.push_back({folder.relativePath(), name, file});
        if (pending_.size() < batchSize)
            return;
        full.swap(pending_);
    }
    // Only what was written before the flush starts is sure to be on the disk after it.
    if (syncfs(root_->fd()) != 0) {
        fail_("Cannot flush", rootPath_, errno);
        return;
    }
    give(full);
}

long DeferredTimes::giveFlushed()
{
    std::vector<Entry> rest;
    {
        const std::lock_guard lock(mutex_);
        rest.swap(pending_);
    }
    return give(rest);
}

long DeferredTimes::give(std::vector<Entry> &batch)
{
    // Sorted by folder, each folder is opened once.
    std::sort(batch.begin(), batch.end(),
              [](const Entry &a, const Entry &b) { return a.folder < b.folder; });
    int folderFd = -1;
    const std::string *opened = nullptr;
    long given = 0;
    for (const Entry &entry : batch) {
        if (opened == nullptr || *opened != entry.folder) {
            if (folderFd >= 0)
                close(folderFd);
            folderFd = openBelow(root_->fd(), entry.folder);
            opened = &entry.folder;
        }
        reachTestPoint(TestPoint::BeforeTimeGiven, folderFd, entry.name.c_str());
        if (!isTheCopy(folderFd, entry))
            continue; // gone, or replaced by another program: not this copy any more
        if (utimensat(folderFd, entry.name.c_str(), entry.file.times, AT_SYMLINK_NOFOLLOW) != 0)
            fail_("Cannot write", pathOf(entry), errno);
        else
            ++given;
    }
    if (folderFd >= 0)
        close(folderFd);
    return given;
}

std::string DeferredTimes::pathOf(const Entry &entry) const
{
    return joined(joined(rootPath_, entry.folder), entry.name);
}
