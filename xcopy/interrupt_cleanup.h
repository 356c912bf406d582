#pragma once

// Makes SIGINT, SIGTERM and SIGHUP remove the file being written and exit with status 2, and lets
// a file-size limit fail the write (EFBIG) instead of killing the program.
void installInterruptHandlers();

// The file the handlers remove; set before it is created and cleared once it is renamed or gone.
void rememberTemporaryFile(int folderFd, const char *name);
void forgetTemporaryFile();
