// Creates one new folder for the add-folder dialog.
#pragma once

#include <QString>

// Creates the folder named by the full path; its parent must exist already. Returns an empty
// text when the folder was created, otherwise a message that names the folder and the reason.
QString createFolder(const QString &path);
