#include "tree_copy.h"

#include "file_copy.h"
#include "time_compare.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

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

TreeCopy::TreeCopy(const Options &options, long long destinationResolutionNs)
    : options_(options), resolutionNs_(destinationResolutionNs),
      reporter_(options.quiet, options.fullNames), prompt_(options.overwrite, options.listOnly),
      sourcePath_(withoutTrailingSlashes(options.source)),
      destinationPath_(withoutTrailingSlashes(options.destination))
{
}

void TreeCopy::copyFolder(DIR *source, DestinationFolder &destination)
{
    if (options_.emptyFolders && !options_.listOnly) {
        if (const int error = destination.create(); error != 0)
            fail("Cannot create folder", destinationPath_, error);
    }
    const int sourceFd = dirfd(source);
    for (;;) {
        errno = 0;
        const dirent *entry = readdir(source);
        if (entry == nullptr) {
            if (errno != 0)
                fail("Cannot read folder", sourcePath_, errno);
            return;
        }
        const char *name = entry->d_name;
        const bool dotOrDotDot = name[0] == '.' && (!name[1] || (name[1] == '.' && !name[2]));
        if (dotOrDotDot || (name[0] == '.' && !options_.hidden))
            continue;
        copyEntry(sourceFd, *entry, destination);
    }
}

void TreeCopy::copyEntry(int sourceFolderFd, const dirent &entry, DestinationFolder &destination)
{
    const char *name = entry.d_name;
    if (entry.d_type == DT_DIR) {
        if (options_.subfolders)
            copySubfolder(sourceFolderFd, name, destination);
        return;
    }
    if (entry.d_type != DT_REG && entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return;

    // Follows links, so a link to a file is copied as that file.
    struct stat info;
    if (fstatat(sourceFolderFd, name, &info, 0) != 0) {
        PathStep step(sourcePath_, name);
        fail("Cannot read", sourcePath_, errno);
        return;
    }
    if (S_ISDIR(info.st_mode)) {
        // Only a real folder is descended into; a link to one is left alone.
        struct stat own;
        const bool isLink =
            entry.d_type == DT_LNK ||
            (fstatat(sourceFolderFd, name, &own, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(own.st_mode));
        if (!isLink && options_.subfolders)
            copySubfolder(sourceFolderFd, name, destination);
        return;
    }
    if (S_ISREG(info.st_mode))
        copyIfWanted(sourceFolderFd, name, info, destination, name);
}

void TreeCopy::copySubfolder(int sourceFolderFd, const char *name, DestinationFolder &destination)
{
    PathStep sourceStep(sourcePath_, name);
    PathStep destinationStep(destinationPath_, name);
    const int fd = openat(sourceFolderFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    DIR *folder = fd >= 0 ? fdopendir(fd) : nullptr;
    if (folder == nullptr) {
        fail("Cannot read folder", sourcePath_, errno);
        if (fd >= 0)
            close(fd);
        return;
    }
    DestinationFolder subfolder(destination, name);
    copyFolder(folder, subfolder);
    closedir(folder);
}

void TreeCopy::copySourceFile(const struct stat &sourceInfo, DestinationFolder &destination,
                              const char *destinationName)
{
    // The source path as given is the whole name to show.
    sourcePath_.clear();
    copyIfWanted(AT_FDCWD, options_.source.c_str(), sourceInfo, destination, destinationName);
}

void TreeCopy::copyIfWanted(int sourceFolderFd, const char *sourceName,
                            const struct stat &sourceInfo, DestinationFolder &destination,
                            const char *destinationName)
{
    if (options_.modifiedSince && sourceInfo.st_mtime < *options_.modifiedSince)
        return;
    ++tally_.found;
    PathStep sourceStep(sourcePath_, sourceName);
    PathStep destinationStep(destinationPath_, destinationName);
    if (!isWanted(sourceInfo, destination, destinationName))
        return;
    if (!options_.listOnly) {
        if (const int error = destination.create(); error != 0) {
            fail("Cannot create folder for", destinationPath_, error);
            return;
        }
        const CopyFailure failure =
            copyFile(sourceFolderFd, sourceName, sourceInfo, destination.fd(), destinationName);
        if (failure.error != 0) {
            fail(failure.readingSource ? "Cannot read" : "Cannot write",
                 failure.readingSource ? sourcePath_ : destinationPath_, failure.error);
            return;
        }
    }
    ++tally_.copied;
    reporter_.copied(sourcePath_, destinationPath_);
}

bool TreeCopy::isWanted(const struct stat &sourceInfo, DestinationFolder &destination,
                        const char *destinationName)
{
    // A folder that is missing or was made by this run holds no file to compare with.
    if (destination.fd() < 0 || destination.isNew())
        return true;
    struct stat existing;
    if (fstatat(destination.fd(), destinationName, &existing, 0) != 0) {
        if (errno == ENOENT)
            return true;
        fail("Cannot check", destinationPath_, errno);
        return false;
    }
    if (S_ISDIR(existing.st_mode)) {
        fail("Cannot write", destinationPath_, EISDIR);
        return false;
    }
    if (options_.newerOnly &&
        !destinationIsOlder(sourceInfo.st_mtim, existing.st_mtim, resolutionNs_))
        return false;
    return prompt_.allows(destinationPath_);
}

void TreeCopy::fail(const char *what, const std::string &path, int error)
{
    ++tally_.failed;
    reporter_.failed(what, path, error);
}
