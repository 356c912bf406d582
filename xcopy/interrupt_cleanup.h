#pragma once

#include <functional>
#include <sys/types.h>

// Makes SIGINT, SIGTERM and SIGHUP remove the files being written, by every thread, and exit with
// status 2; lets a file-size limit fail the write (EFBIG) instead of killing the program, and keeps
// copying when the reader of the listing goes away.
void installInterruptHandlers();

// Most threads that may hold a temporary file at once.
constexpr int maxTemporaryFileHolders = 16;

// Creates the file NAME in the folder, exclusively, and has the handlers remove it until
// forgetTemporaryFile() is called by the same thread. Returns the descriptor, or -1 with errno.
int createTemporaryFile(int folderFd, const char *name, mode_t mode);
// Gives a complete unnamed file the name NAME in the folder with LINK, which returns 0 or an errno
// value, and has the handlers remove it like a file createTemporaryFile() made. Returns LINK's.
int linkTemporaryFile(int folderFd, const char *name, const std::function<int()> &link);
// The calling thread's temporary file was renamed or removed.
void forgetTemporaryFile();
