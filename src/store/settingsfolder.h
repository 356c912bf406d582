// Where the settings live, and putting them there at install time. The program opens one fixed
// path in the installation folder, which belongs to root; that path is a link to the real file
// in a data folder that belongs to the settings' owner alone, where SQLite can also write its
// journal. On Windows the fixed path is the database itself, which with its journal beside it
// the owner alone may change (see settingsfolder_windows.cpp). Only the install step and the
// database creator change this; the program never does.
#pragma once

#include "platform/accounts.h"

#include <QString>
#include <QStringList>

#include <optional>

// The fixed path of the settings database in an installation folder.
QString settingsDatabasePath(const QString &installFolder);

struct SettingsLocation
{
    QString installFolder;
    QString dataFolder;
};

struct SettingsOwners
{
    std::optional<Account> handOverTo; // takes existing settings too
    std::optional<Account> newOwner;   // for a data folder made now; existing ones keep theirs
};

// Creates what is missing and never overwrites settings (Windows: settingsfolder_windows.cpp):
// - a database that an earlier version kept at the fixed path moves into the data folder, with
//   its journal and its owner;
// - the data folder (mode 0700) and the database (0600) are made when absent;
// - the fixed path becomes a link to the database.
// Then the folder and its files belong to handOverTo when given, otherwise to their owner so far
// (newOwner, or the caller, for new settings). Each step is added to done. Returns an empty text,
// or what failed.
QString setUpSettings(const SettingsLocation &location, const SettingsOwners &owners,
                      QStringList *done);
