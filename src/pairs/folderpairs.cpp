#include "folderpairs.h"

#include "store/settingsstore.h"

#include <algorithm>

void FolderPairs::type(FolderPair pair, Side side, const QString &text)
{
    PairEntry &entry = m_entries[pair.index()];
    if (!entry.locked)
        (side == Side::From ? entry.from : entry.to) = text;
}

QList<FolderPair> FolderPairs::pick(Side side, const QString &path)
{
    QList<FolderPair> filled;
    for (int number : pairsMatching(lockPattern())) {
        const FolderPair pair(number);
        PairEntry &entry = m_entries[pair.index()];
        (side == Side::From ? entry.from : entry.to) = path;
        filled.append(pair);
    }
    return filled;
}

Outcome FolderPairs::lock(FolderPair pair)
{
    PairEntry &entry = m_entries[pair.index()];
    entry.locked = true;
    return m_store.together([&] {
        const auto save = [&](Table table, const QString &folder) {
            return folder.isEmpty() ? Outcome::done() : m_store.AppendRecord(table, folder);
        };
        return save(pair.fromTable(), entry.from).andThen([&] {
            return save(pair.toTable(), entry.to);
        });
    });
}

Outcome FolderPairs::unlock(FolderPair pair)
{
    m_entries[pair.index()].locked = false;
    return m_store.together([&] {
        return m_store.ClearTable(pair.fromTable()).andThen([&] {
            return m_store.ClearTable(pair.toTable());
        });
    });
}

Outcome FolderPairs::restore()
{
    Outcome restored = Outcome::done();
    for (FolderPair pair : FolderPair::all()) {
        const SettingsStore::Read from = m_store.ReadNewestField(pair.fromTable());
        const SettingsStore::Read to = m_store.ReadNewestField(pair.toTable());
        restored = restored.also(from.outcome()).also(to.outcome());
        m_entries[pair.index()] = {from.value().value_or(QString()), to.value().value_or(QString()),
                                   false};
        if (to.value())
            restored = restored.also(lock(pair));
    }
    return restored;
}

bool FolderPairs::anyLocked() const
{
    return std::ranges::any_of(m_entries, &PairEntry::locked);
}

bool FolderPairs::anyPathEntered() const
{
    return std::ranges::any_of(m_entries, [](const PairEntry &entry) {
        return !entry.from.isEmpty() || !entry.to.isEmpty();
    });
}

LockPattern FolderPairs::lockPattern() const
{
    LockPattern locks{};
    for (FolderPair pair : FolderPair::all())
        locks[pair.index()] = m_entries[pair.index()].locked ? 1 : 0;
    return locks;
}
