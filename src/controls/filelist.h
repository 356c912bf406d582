// The file list: the files of one folder, hidden and system files left out.
#pragma once

#include "common/outcome.h"

#include <QListView>

class QStringListModel;

class FileList final : public QListView
{
    Q_OBJECT
  public:
    explicit FileList(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Lists the folder's files. When it cannot be read the list stays as it was and the failure
    // names the folder with the system's reason.
    Outcome setPath(const QString &path);

  private:
    QStringListModel *m_files;
    QString m_path;
};
