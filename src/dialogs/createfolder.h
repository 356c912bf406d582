// Creates one new folder for the add-folder dialog.
#pragma once

#include "common/outcome.h"

#include <QString>

// Creates the folder named by the full path; its parent must exist already. A failure names the
// folder and the reason.
Outcome createFolder(const QString &path);
