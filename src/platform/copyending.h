// How a copy ended, in the words its window and the run log give it.
#pragma once

#include <QString>

struct CopyEnding
{
    bool bySignal = false; // ended by a signal (on Windows: stopped or faulted), not by itself
    int code = 0;          // the exit status, or the number of the signal (Windows: its status)
    int failureLines = 0;  // the lines the copy wrote to its error output
    QString firstFailure;  // the first of them
};

// Done (0) and nothing to copy (1) close the copy's window by themselves, as a console closes.
bool endedWell(const CopyEnding &ending);

// "exit status 5" or "signal 9".
QString endingStatus(const CopyEnding &ending);

// One sentence or two, such as "The copy ended with errors: 3 files could not be copied."
QString endingWords(const CopyEnding &ending);
