#include "stale_temporaries.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

namespace {

// The process that wrote a temporary file of this program's naming, or 0 for any other name.
pid_t writerOf(std::string_view name)
{
    constexpr std::string_view prefix = ".xcopy-", suffix = ".tmp";
    if (!name.starts_with(prefix) || !name.ends_with(suffix))
        return 0;
    name.remove_prefix(prefix.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    const bool dashFollows = end < name.data() + name.size() && *end == '-';
    return error == std::errc() && dashFollows && pid > 0 ? pid : 0;
}

} // namespace

void removeStaleTemporaryFiles(int folderFd)
{
    // A descriptor of its own: reading moves its position, and other threads use the folder's.
    const int fd = openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *folder = fd >= 0 ? fdopendir(fd) : nullptr;
    if (folder == nullptr) {
        if (fd >= 0)
            close(fd);
        return; // the copy itself reports what keeps it from the folder
    }
    while (const dirent *entry = readdir(folder)) {
        const pid_t writer = writerOf(entry->d_name);
        if (writer != 0 && kill(writer, 0) != 0 && errno == ESRCH)
            unlinkat(folderFd, entry->d_name, 0);
    }
    closedir(folder);
}
