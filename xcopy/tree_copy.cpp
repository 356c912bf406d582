#include "tree_copy.h"

#include "file_copy.h"
#include "stale_temporaries.h"
#include "time_compare.h"

#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Folders waiting for a thread; enough to keep every thread busy on a wide tree.
constexpr std::size_t waitingFolders = 64;

std::string withoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// Appends "/NAME" to a path and takes it off again when leaving the scope.
class PathStep
{
  public:
    PathStep(std::string &path, const char *name) : path_(path), length_(path.size())
    {
        if (!path_.empty() && path_.back() != '/')
            path_ += '/';
        path_ += name;
    }
    ~PathStep() { path_.resize(length_); }
    PathStep(const PathStep &) = delete;
    PathStep &operator=(const PathStep &) = delete;

  private:
    std::string &path_;
    std::size_t length_;
};

} // namespace

TreeCopy::TreeCopy(const Options &options, const DestinationTimes &destinationTimes,
                   Reporter &reporter, std::shared_ptr<DestinationFolder> root)
    : options_(options), destinationTimes_(destinationTimes), reporter_(reporter),
      prompt_(options.overwrite, options.listOnly), root_(std::move(root)),
      deferredTimes_(root_, withoutTrailingSlashes(options.destination),
                     [this](const char *what, const std::string &path, int error) {
                         fail(what, path, error);
                     })
{
}

void TreeCopy::copyFolderTree(int sourceFd, int threads)
{
    folders_ = std::make_unique<WorkQueue<FolderTask>>(threads > 1 ? waitingFolders : 0);
    folders_->start({sourceFd, root_,
                     {withoutTrailingSlashes(options_.source),
                      withoutTrailingSlashes(options_.destination)}});
    if (prompt_.asks())
        threads = 1; // one question at a time, between the names listed so far
    std::vector<std::jthread> helpers;
    try {
        for (int i = 1; i < threads; ++i)
            helpers.emplace_back([this] { work(); });
    } catch (const std::system_error &) {
        // Fewer threads only make it slower.
    }
    work();
}

void TreeCopy::work()
{
    while (std::optional<FolderTask> task = folders_->take()) {
        copyFolder(task->sourceFd, task->destination, task->paths);
        folders_->finished();
    }
}

void TreeCopy::copyFolder(int sourceFd, const std::shared_ptr<DestinationFolder> &destination,
                          Paths &paths)
{
    DIR *source = fdopendir(sourceFd);
    if (source == nullptr) {
        fail("Cannot read folder", paths.source, errno);
        close(sourceFd);
        return;
    }
    if (!options_.listOnly && !holdsNoFile(*destination))
        removeStaleTemporaryFiles(destination->fd());
    if (options_.emptyFolders && !options_.listOnly) {
        if (const int error = destination->create(); error != 0)
            fail("Cannot create folder", paths.destination, error);
    }
    for (;;) {
        errno = 0;
        const dirent *entry = readdir(source);
        if (entry == nullptr) {
            if (errno != 0)
                fail("Cannot read folder", paths.source, errno);
            break;
        }
        const char *name = entry->d_name;
        const bool dotOrDotDot = name[0] == '.' && (!name[1] || (name[1] == '.' && !name[2]));
        if (dotOrDotDot || (name[0] == '.' && !options_.hidden))
            continue;
        copyEntry(sourceFd, *entry, destination, paths);
    }
    closedir(source);
}

void TreeCopy::copyEntry(int sourceFolderFd, const dirent &entry,
                         const std::shared_ptr<DestinationFolder> &destination, Paths &paths)
{
    const char *name = entry.d_name;
    if (entry.d_type == DT_DIR) {
        if (options_.subfolders)
            copySubfolder(sourceFolderFd, name, destination, paths);
        return;
    }
    if (entry.d_type != DT_REG && entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return;
    if (entry.d_type == DT_REG && !options_.modifiedSince && holdsNoFile(*destination)) {
        // Nothing to compare with: the copy learns all it needs from the file it opens.
        copyIfWanted(sourceFolderFd, name, nullptr, *destination, name, paths);
        return;
    }

    // Follows links, so a link to a file is copied as that file.
    struct stat info;
    if (fstatat(sourceFolderFd, name, &info, 0) != 0) {
        PathStep step(paths.source, name);
        fail("Cannot read", paths.source, errno);
        return;
    }
    if (S_ISDIR(info.st_mode)) {
        // Only a real folder is descended into; a link to one is left alone.
        struct stat own;
        const bool isLink =
            entry.d_type == DT_LNK ||
            (fstatat(sourceFolderFd, name, &own, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(own.st_mode));
        if (!isLink && options_.subfolders)
            copySubfolder(sourceFolderFd, name, destination, paths);
        return;
    }
    if (S_ISREG(info.st_mode))
        copyIfWanted(sourceFolderFd, name, &info, *destination, name, paths);
}

void TreeCopy::copySubfolder(int sourceFolderFd, const char *name,
                             const std::shared_ptr<DestinationFolder> &destination, Paths &paths)
{
    PathStep sourceStep(paths.source, name);
    PathStep destinationStep(paths.destination, name);
    const int fd = openat(sourceFolderFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        fail("Cannot read folder", paths.source, errno);
        return;
    }
    auto subfolder = std::make_shared<DestinationFolder>(destination, name);
    if (subfolder->isLink()) {
        fail("Cannot write", paths.destination, linkNotFollowed);
        close(fd);
        return;
    }
    if (!folders_->offer({fd, subfolder, paths}))
        copyFolder(fd, subfolder, paths);
}

void TreeCopy::copySourceFile(const struct stat &sourceInfo, const char *destinationName)
{
    if (!options_.listOnly && !holdsNoFile(*root_))
        removeStaleTemporaryFiles(root_->fd());
    // The source path as given is the whole name to show.
    Paths paths{"", withoutTrailingSlashes(options_.destination)};
    copyIfWanted(AT_FDCWD, options_.source.c_str(), &sourceInfo, *root_, destinationName, paths);
}

void TreeCopy::copyIfWanted(int sourceFolderFd, const char *sourceName,
                            const struct stat *sourceInfo, DestinationFolder &destination,
                            const char *destinationName, Paths &paths)
{
    if (options_.modifiedSince && sourceInfo->st_mtime < *options_.modifiedSince)
        return;
    ++tally_.found;
    PathStep sourceStep(paths.source, sourceName);
    PathStep destinationStep(paths.destination, destinationName);
    const Wanted want = sourceInfo != nullptr
                            ? wanted(*sourceInfo, destination, destinationName, paths)
                            : Wanted::AsNewFile;
    if (want == Wanted::No)
        return;
    if (!options_.listOnly) {
        if (const int error = destination.create(); error != 0) {
            fail("Cannot create folder for", paths.destination, error);
            return;
        }
        const CopyTarget target{destination.fd(), destinationName, want == Wanted::AsReplacement,
                                destinationTimes_.resetAtRename, !destination.inMemory()};
        CopiedFile newFile;
        const CopyFailure failure = copyFile(sourceFolderFd, sourceName, target, newFile);
        if (failure.error != 0) {
            fail(failure.readingSource ? "Cannot read" : "Cannot write",
                 failure.readingSource ? paths.source : paths.destination, failure.error);
            return;
        }
        if (target.timesWaitForFlush())
            deferredTimes_.add(destination, destinationName, newFile);
    }
    ++tally_.copied;
    reporter_.copied(paths.source, paths.destination);
}

bool TreeCopy::holdsNoFile(const DestinationFolder &destination)
{
    // Missing, or made by this run, which puts each name there once.
    return destination.fd() < 0 || destination.isNew();
}

TreeCopy::Wanted TreeCopy::wanted(const struct stat &sourceInfo, DestinationFolder &destination,
                                  const char *destinationName, const Paths &paths)
{
    if (holdsNoFile(destination))
        return Wanted::AsNewFile;
    struct stat existing;
    if (fstatat(destination.fd(), destinationName, &existing, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT)
            return Wanted::AsNewFile;
        fail("Cannot check", paths.destination, errno);
        return Wanted::No;
    }
    if (S_ISDIR(existing.st_mode) || S_ISLNK(existing.st_mode)) {
        fail("Cannot write", paths.destination,
             S_ISDIR(existing.st_mode) ? EISDIR : linkNotFollowed);
        return Wanted::No;
    }
    if (options_.newerOnly && !destinationIsOlder(sourceInfo.st_mtim, existing.st_mtim,
                                                  destinationTimes_.resolutionNs))
        return Wanted::No;
    if (prompt_.asks())
        reporter_.flush();
    return prompt_.allows(paths.destination) ? Wanted::AsReplacement : Wanted::No;
}

void TreeCopy::fail(const char *what, const std::string &path, int error)
{
    ++tally_.failed;
    reporter_.failed(what, path, error);
}
