#include "path_resolve.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string_view>
#include <unistd.h>

namespace {

std::string absolute(const std::string &path)
{
    if (path.starts_with('/'))
        return path;
    char workingFolder[PATH_MAX];
    if (getcwd(workingFolder, sizeof workingFolder) == nullptr)
        return path;
    return std::string(workingFolder) + '/' + path;
}

} // namespace

std::string resolvePath(const std::string &path)
{
    const std::string full = absolute(path);
    std::string resolved = "/";
    std::size_t start = 0;
    while (start < full.size()) {
        std::size_t end = full.find('/', start);
        if (end == std::string::npos)
            end = full.size();
        const std::string_view part(full.data() + start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            // RESOLVED never holds a link, so going up is just dropping its last name.
            resolved.resize(std::max<std::size_t>(1, resolved.find_last_of('/')));
            continue;
        }
        std::string candidate = resolved;
        if (candidate.size() > 1)
            candidate += '/';
        candidate += part;
        char real[PATH_MAX];
        resolved = realpath(candidate.c_str(), real) ? std::string(real) : candidate;
    }
    return resolved;
}

std::string nearestExistingFolder(const std::string &absolutePath)
{
    std::string folder = absolutePath;
    struct stat info;
    while (folder != "/" && !(stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)))
        folder.resize(std::max<std::size_t>(1, folder.find_last_of('/')));
    return folder;
}

bool leadsInto(const std::string &resolvedPath, const struct stat &folderInfo)
{
    // RESOLVED_PATH holds no link, so each parent is found by cutting off the last name.
    for (std::string path = resolvedPath;;
         path.resize(std::max<std::size_t>(1, path.find_last_of('/')))) {
        struct stat info;
        if (stat(path.c_str(), &info) == 0 && info.st_dev == folderInfo.st_dev &&
            info.st_ino == folderInfo.st_ino)
            return true;
        if (path == "/")
            return false;
    }
}
