// The folders of the locked pairs in the settings database, so that a restart can bring them
// back. A pair is saved whole or not at all.
#pragma once

#include "folderpair.h"

#include <QString>

#include <optional>

class SettingsStore;

class SavedPairs final
{
  public:
    explicit SavedPairs(SettingsStore &store) : m_store(store) {}

    // Adds the pair's filled-in sides to its two tables, both in one step; earlier records stay.
    bool lock(FolderPair pair, const QString &from, const QString &to);
    // Empties the pair's two tables in one step, so that a restart leaves the pair unlocked.
    bool unlock(FolderPair pair);

    struct Folders
    {
        std::optional<QString> from;
        std::optional<QString> to;
    };
    // The folders the pair was locked with last; a side never saved has none.
    Folders newest(FolderPair pair);

  private:
    SettingsStore &m_store;
};
