#include "reporter.h"

#include "file_copy.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

// Gathered names go out in writes of about this size, like a stdio buffer, but never in the middle
// of a line.
constexpr std::size_t gatheredBytes = 4 << 10;

void writeAll(int fd, const std::string &text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t put = write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno != EINTR)
            return; // nobody reads any more; the copy goes on
        done += put > 0 ? put : 0;
    }
}

const char *reason(int error)
{
    if (error == linkNotFollowed)
        return "A link, which is not followed";
    return error == notARegularFile ? "Not a regular file" : std::strerror(error);
}

} // namespace

Reporter::Reporter(bool quiet, bool fullNames, bool lineByLine)
    : quiet_(quiet), fullNames_(fullNames), lineByLine_(lineByLine)
{
}

Reporter::~Reporter()
{
    flush();
}

void Reporter::copied(const std::string &source, const std::string &destination)
{
    if (quiet_)
        return;
    std::string line = source;
    if (fullNames_)
        line.append(" -> ").append(destination);
    line += '\n';
    const std::lock_guard lock(mutex_);
    pending_ += line;
    if (lineByLine_ || pending_.size() >= gatheredBytes)
        flushLocked();
}

void Reporter::failed(const char *what, const std::string &path, int error)
{
    std::string line = std::string(what) + ' ' + path + ": " + reason(error) + '\n';
    const std::lock_guard lock(mutex_);
    flushLocked();
    writeAll(STDERR_FILENO, line);
}

void Reporter::flush()
{
    const std::lock_guard lock(mutex_);
    flushLocked();
}

void Reporter::summary(long copiedFiles)
{
    const std::lock_guard lock(mutex_);
    pending_ += std::to_string(copiedFiles) + " File(s) copied\n";
    flushLocked();
}

void Reporter::flushLocked()
{
    writeAll(STDOUT_FILENO, pending_);
    pending_.clear();
}
