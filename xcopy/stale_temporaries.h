#pragma once

// Removes from the folder the temporary files that a copy killed before it could clean up left
// there: only names this program gives (".xcopy-PID-....tmp"), and only when no process PID runs
// any more, so that a copy still running into the same folder keeps its own.
void removeStaleTemporaryFiles(int folderFd);
