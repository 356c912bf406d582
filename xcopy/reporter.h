#pragma once

#include <mutex>
#include <string>

// Everything the program tells the user about the files it handles. Threads may report at once:
// each line goes out whole, in one write, and a message on standard error follows every name
// listed before it.
class Reporter
{
  public:
    // LINE_BY_LINE writes each name at once, for someone watching; otherwise names are gathered.
    Reporter(bool quiet, bool fullNames, bool lineByLine);
    ~Reporter();
    Reporter(const Reporter &) = delete;
    Reporter &operator=(const Reporter &) = delete;

    void copied(const std::string &source, const std::string &destination);
    // WHAT is a verb phrase such as "Cannot read"; ERROR an errno value or one of file_copy.h.
    void failed(const char *what, const std::string &path, int error);
    // Writes out the names gathered so far, before something else talks to the user.
    void flush();
    void summary(long copiedFiles);

  private:
    void flushLocked();

    const bool quiet_;
    const bool fullNames_;
    const bool lineByLine_;
    std::mutex mutex_;
    std::string pending_; // whole lines not yet written
};
