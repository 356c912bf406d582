#include "overwrite_prompt.h"

#include <cctype>
#include <cstdio>
#include <unistd.h>

OverwritePrompt::OverwritePrompt(Overwrite mode, bool listOnly)
    : mode_(mode), listOnly_(listOnly), canAsk_(isatty(STDIN_FILENO) == 1)
{
}

bool OverwritePrompt::allows(const std::string &destination)
{
    // Without a terminal nobody can answer, so existing files are kept.
    if (mode_ == Overwrite::Always)
        return true;
    if (!canAsk_)
        return false;
    // A listing asks nothing; it shows the files a "Yes" would copy.
    if (listOnly_)
        return true;
    char answer[64];
    for (;;) {
        std::printf("Overwrite %s (Yes/No/All)? ", destination.c_str());
        std::fflush(stdout);
        if (std::fgets(answer, sizeof answer, stdin) == nullptr)
            return false;
        switch (std::toupper(static_cast<unsigned char>(answer[0]))) {
        case 'Y':
            return true;
        case 'N':
            return false;
        case 'A':
            mode_ = Overwrite::Always;
            return true;
        }
    }
}
