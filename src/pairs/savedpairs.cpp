#include "savedpairs.h"

#include "store/settingsstore.h"

bool SavedPairs::lock(FolderPair pair, const QString &from, const QString &to)
{
    return m_store.together([&] {
        return (from.isEmpty() || m_store.AppendRecord(pair.fromTable(), from)) &&
               (to.isEmpty() || m_store.AppendRecord(pair.toTable(), to));
    });
}

bool SavedPairs::unlock(FolderPair pair)
{
    return m_store.together(
        [&] { return m_store.ClearTable(pair.fromTable()) && m_store.ClearTable(pair.toTable()); });
}

SavedPairs::Folders SavedPairs::newest(FolderPair pair)
{
    return {m_store.ReadNewestField(pair.fromTable()), m_store.ReadNewestField(pair.toTable())};
}
