// Creates a new, empty settings database. Only the install step does this; the program never does.
#pragma once

#include <QString>

class QSqlDatabase;

enum class CreateResult { Created, AlreadyPresent, Failed };

// Creates the file with its eighteen tables unless a file of that name exists; an existing file
// is never touched. On failure no file is left behind and error holds the reason.
CreateResult createSettingsDatabase(const QString &path, QString *error);

// Creates the eighteen tables in an open, empty database; on failure error holds the reason.
bool createSettingsTables(QSqlDatabase &db, QString *error);
