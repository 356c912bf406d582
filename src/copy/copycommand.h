// The copy command of one folder pair, in the form each system starts.
#pragma once

#include "platform/programstarter.h"

// xcopy.exe with the From and To folders exactly as given, copying only newer files,
// overwriting without asking and taking subfolders along, under the caption "Folder pair N".
ProgramStart copyCommand(int pair, const QString &from, const QString &to);
