#pragma once

#include <ctime>
#include <optional>
#include <string>

enum class Overwrite { Ask, Always };

struct Options
{
    std::string source;
    std::string destination;
    bool newerOnly = false;               // /D
    std::optional<time_t> modifiedSince;  // /D:m-d-y
    Overwrite overwrite = Overwrite::Ask; // /Y, /-Y
    bool subfolders = false;              // /S
    bool emptyFolders = false;            // /E
    bool hidden = false;                  // /H
    bool listOnly = false;                // /L
    bool quiet = false;                   // /Q
    bool fullNames = false;               // /F
};

struct ParsedArguments
{
    enum class Outcome { Run, ShowUsage, Invalid };
    Outcome outcome = Outcome::Run;
    Options options;
    std::string error;
};

ParsedArguments parseArguments(int argc, char **argv);

void printUsage();
