#include "folderentries.h"

#include "drawnicons.h"

#include <QDir>

FolderEntries::FolderEntries(QObject *parent)
    : QAbstractListModel(parent),
      m_openFolder(folderIcon(true)), m_closedFolder(folderIcon(false))
{
}

void FolderEntries::show(const QStringList &chain, const QStringList &subfolders)
{
    beginResetModel();
    m_chain = chain;
    m_chainNames.clear();
    for (const QString &level : chain) {
        m_chainNames.append(m_chainNames.isEmpty() ? QDir::toNativeSeparators(level)
                                                   : QDir(level).dirName());
    }
    m_subfolders = subfolders;
    endResetModel();
}

int FolderEntries::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_chain.size() + m_subfolders.size());
}

QVariant FolderEntries::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int row = index.row();
    const bool inChain = row < m_chain.size();
    switch (role) {
    case Qt::DisplayRole:
        return name(row);
    case Qt::DecorationRole:
        return inChain ? m_openFolder : m_closedFolder;
    case Qt::ToolTipRole:
        return QDir::toNativeSeparators(path(row));
    case PathRole:
        return path(row);
    case DepthRole:
        return inChain ? row : int(m_chain.size());
    default:
        return {};
    }
}

QString FolderEntries::name(int row) const
{
    return row < m_chain.size() ? m_chainNames[row] : m_subfolders[row - m_chain.size()];
}

QString FolderEntries::path(int row) const
{
    if (row < m_chain.size())
        return m_chain[row];
    return QDir(m_chain.last()).filePath(m_subfolders[row - m_chain.size()]);
}
