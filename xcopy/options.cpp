#include "options.h"

#include "date_switch.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string_view>

namespace {

std::string upperCase(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

// Applies one switch; false when it is not one we know.
bool applySwitch(std::string_view text, Options &options)
{
    const std::string name = upperCase(text);
    if (name.starts_with("/D:")) {
        options.modifiedSince = parseMonthDayYear(std::string_view(name).substr(3));
        options.newerOnly = false;
        return options.modifiedSince.has_value();
    }
    if (name == "/D") {
        options.newerOnly = true;
        options.modifiedSince.reset();
    } else if (name == "/Y") {
        options.overwrite = Overwrite::Always;
    } else if (name == "/-Y") {
        options.overwrite = Overwrite::Ask;
    } else if (name == "/S") {
        options.subfolders = true;
    } else if (name == "/E") {
        options.subfolders = true;
        options.emptyFolders = true;
    } else if (name == "/H") {
        options.hidden = true;
    } else if (name == "/L") {
        options.listOnly = true;
    } else if (name == "/Q") {
        options.quiet = true;
    } else if (name == "/F") {
        options.fullNames = true;
    } else {
        return false;
    }
    return true;
}

ParsedArguments invalid(std::string error)
{
    ParsedArguments parsed;
    parsed.outcome = ParsedArguments::Outcome::Invalid;
    parsed.error = std::move(error);
    return parsed;
}

} // namespace

ParsedArguments parseArguments(int argc, char **argv)
{
    const std::string_view help = "/?";
    if (argc == 2 && argv[1] == help)
        return {ParsedArguments::Outcome::ShowUsage, {}, {}};
    if (argc < 3)
        return invalid("Both a source and a destination are required (xcopy /? shows how)");

    ParsedArguments parsed;
    // The first two arguments are paths whatever they look like: "/s" may well be a folder.
    parsed.options.source = argv[1];
    parsed.options.destination = argv[2];
    for (int i = 3; i < argc; ++i) {
        if (argv[i] == help)
            return {ParsedArguments::Outcome::ShowUsage, {}, {}};
        if (!applySwitch(argv[i], parsed.options))
            return invalid(std::string("Invalid switch - ") + argv[i]);
    }
    if (parsed.options.source.empty())
        return invalid("The source path is empty");
    if (parsed.options.destination.empty())
        return invalid("The destination path is empty");
    return parsed;
}

void printUsage()
{
    std::fputs(
        "Copies files and folder trees.\n"
        "\n"
        "xcopy SOURCE DESTINATION [/D[:m-d-y]] [/Y | /-Y] [/S | /E] [/H] [/L] [/Q] [/F]\n"
        "\n"
        "  SOURCE       Folder whose files are copied, or a single file.\n"
        "  DESTINATION  Folder the files go into; created when missing.\n"
        "               The first two arguments are always these two paths.\n"
        "  /D           Copy only files whose destination is missing or older.\n"
        "  /D:m-d-y     Copy only files changed on or after that date.\n"
        "  /Y           Overwrite existing files without asking.\n"
        "  /-Y          Ask before overwriting (the default); without a terminal\n"
        "               existing files are left alone.\n"
        "  /S           Copy subfolders too, except empty ones.\n"
        "  /E           Copy subfolders too, empty ones included.\n"
        "  /H           Copy hidden files and folders (names starting with a dot).\n"
        "  /L           List what would be copied; write nothing.\n"
        "  /Q           Do not print file names.\n"
        "  /F           Print full source and destination names.\n"
        "\n"
        "Exit status: 0 done, 1 no file found to copy, 2 interrupted,\n"
        "4 invalid arguments, missing source or cyclic copy, 5 a file could not be copied.\n",
        stdout);
}
