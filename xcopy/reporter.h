#pragma once

#include <string>

// Everything the program tells the user about the files it handles.
class Reporter
{
  public:
    Reporter(bool quiet, bool fullNames) : quiet_(quiet), fullNames_(fullNames) {}

    void copied(const std::string &source, const std::string &destination) const;
    // WHAT is a verb phrase such as "Cannot read"; ERROR an errno value.
    void failed(const char *what, const std::string &path, int error) const;

  private:
    bool quiet_;
    bool fullNames_;
};
