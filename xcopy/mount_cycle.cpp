#include "mount_cycle.h"

#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

using FolderId = std::pair<dev_t, ino_t>;

// The mount table writes a blank, tab, newline or backslash as a backslash and three octal digits.
std::string unescaped(const std::string &field)
{
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            text += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

bool isAtOrBelow(const std::string &path, const std::string &folder)
{
    return folder == "/" || path == folder ||
           (path.starts_with(folder) && path.size() > folder.size() && path[folder.size()] == '/');
}

bool mountsCouldHideCycle(const std::string &source, const std::string &destination)
{
    std::ifstream table("/proc/self/mountinfo");
    if (!table)
        return true; // nothing tells: the walk does
    for (std::string line; std::getline(table, line);) {
        // ID, parent ID, device, the folder of its file system shown, where it is shown, ...
        std::istringstream fields(line);
        std::string skipped, root, point;
        fields >> skipped >> skipped >> skipped >> root >> point;
        root = unescaped(root);
        point = unescaped(point);
        if ((point != source && isAtOrBelow(point, source)) ||
            (root != "/" && isAtOrBelow(destination, point)))
            return true;
    }
    return false;
}

// The destination and each of its parents that exists.
std::set<FolderId> destinationAndParents(std::string path)
{
    std::set<FolderId> folders;
    for (;; path.resize(std::max<std::size_t>(1, path.find_last_of('/')))) {
        struct stat info;
        if (stat(path.c_str(), &info) == 0)
            folders.insert({info.st_dev, info.st_ino});
        if (path == "/")
            return folders;
    }
}

// Walks the real folders below the open folder FD, which it closes, as the copy would.
bool holdsAny(int fd, const std::set<FolderId> &folders, bool hidden)
{
    DIR *folder = fdopendir(fd);
    if (folder == nullptr) {
        close(fd);
        return false; // the copy reports what it cannot read
    }
    bool found = false;
    for (const dirent *entry; !found && (entry = readdir(folder)) != nullptr;) {
        const char *name = entry->d_name;
        const bool dotOrDotDot = name[0] == '.' && (!name[1] || (name[1] == '.' && !name[2]));
        if (dotOrDotDot || (name[0] == '.' && !hidden) ||
            (entry->d_type != DT_DIR && entry->d_type != DT_UNKNOWN))
            continue;
        const int subfolder =
            openat(dirfd(folder), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        struct stat info;
        if (subfolder < 0)
            continue;
        if (fstat(subfolder, &info) == 0 && folders.contains({info.st_dev, info.st_ino})) {
            close(subfolder);
            found = true;
        } else {
            found = holdsAny(subfolder, folders, hidden);
        }
    }
    closedir(folder);
    return found;
}

} // namespace

bool sourceTreeHoldsDestination(const std::string &source, const std::string &destination,
                                bool hidden)
{
    if (!mountsCouldHideCycle(source, destination))
        return false;
    const int fd = open(source.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd >= 0 && holdsAny(fd, destinationAndParents(destination), hidden);
}
