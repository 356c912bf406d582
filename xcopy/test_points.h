#pragma once

// Moments of a file copy at which a test build of the command can step in, to change the source
// under the copy or to hold it while a test interrupts it. The program itself does nothing there.
enum class TestPoint {
    BeforeSourceOpen, // FOLDER_FD and NAME: the source file about to be opened
    TemporaryFilled,  // FOLDER_FD and NAME: the temporary file (or the destination of an
                      // unnamed one), complete, neither flushed nor in place
    BeforeFlush,      // FOLDER_FD: the destination, every file copied, nothing flushed yet
    BeforeTimeGiven,  // FOLDER_FD and NAME: a new file, flushed, about to get its source's time
};

void reachTestPoint(TestPoint point, int folderFd, const char *name);
