// What a folder list shows: the chain of folders from the root down to the current folder, then
// the current folder's subfolders. Kept as plain names so that a folder with many thousands of
// subfolders is shown at once.
#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <QStringList>

class FolderEntries final : public QAbstractListModel
{
    Q_OBJECT
  public:
    enum Role { PathRole = Qt::UserRole, DepthRole };

    explicit FolderEntries(QObject *parent = nullptr);

    // chain: the absolute paths from the root down to the current folder.
    void show(const QStringList &chain, const QStringList &subfolders);
    int currentRow() const { return int(m_chain.size()) - 1; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

  private:
    QString name(int row) const;
    QString path(int row) const;

    QStringList m_chain;
    QStringList m_chainNames;
    QStringList m_subfolders;
    QIcon m_openFolder;
    QIcon m_closedFolder;
};
