// The folder list: the current folder with the chain of its parents above it and its
// subfolders below. Opening an entry (double-click or Enter) makes it the current folder.
#pragma once

#include "common/outcome.h"

#include <QListView>

class FolderEntries;

class FolderList final : public QListView
{
    Q_OBJECT
  public:
    explicit FolderList(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Reads the folder and shows it. When it cannot be read the list stays as it was and the
    // failure names the folder with the system's reason.
    Outcome setPath(const QString &path);

  signals:
    // The current folder changed, by setPath or by the user opening an entry.
    void changed();
    // Opening an entry failed, for the given reason.
    void openFailed(const QString &reason);

  private:
    void open(const QModelIndex &entry);

    FolderEntries *m_entries;
    QString m_path;
};
