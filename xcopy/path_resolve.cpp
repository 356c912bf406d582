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

bool isSameOrInside(const std::string &inner, const std::string &outer)
{
    if (!inner.starts_with(outer))
        return false;
    return inner.size() == outer.size() || outer == "/" || inner[outer.size()] == '/';
}
