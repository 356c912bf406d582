#pragma once

#include "destination_folder.h"
#include "options.h"
#include "overwrite_prompt.h"
#include "reporter.h"

#include <dirent.h>
#include <string>
#include <sys/stat.h>

struct Tally
{
    long found = 0;  // source files that pass the filters
    long copied = 0; // copied, or listed under /L
    long failed = 0; // files and folders that could not be handled
};

// Walks the source tree one folder at a time, holding only the folders on the current path, and
// copies the files the options select.
class TreeCopy
{
  public:
    TreeCopy(const Options &options, long long destinationResolutionNs);

    // SOURCE is an open stream of the source folder.
    void copyFolder(DIR *source, DestinationFolder &destination);
    // Copies a source that is a single file into the destination folder under DESTINATION_NAME.
    void copySourceFile(const struct stat &sourceInfo, DestinationFolder &destination,
                        const char *destinationName);
    const Tally &tally() const { return tally_; }

  private:
    void copyEntry(int sourceFolderFd, const dirent &entry, DestinationFolder &destination);
    void copySubfolder(int sourceFolderFd, const char *name, DestinationFolder &destination);
    void copyIfWanted(int sourceFolderFd, const char *sourceName, const struct stat &sourceInfo,
                      DestinationFolder &destination, const char *destinationName);
    bool isWanted(const struct stat &sourceInfo, DestinationFolder &destination,
                  const char *destinationName);
    void fail(const char *what, const std::string &path, int error);

    const Options &options_;
    const long long resolutionNs_;
    const Reporter reporter_;
    OverwritePrompt prompt_;
    Tally tally_;
    // Paths of the entry at hand, grown and cut back as the walk goes, for messages only.
    std::string sourcePath_;
    std::string destinationPath_;
};
