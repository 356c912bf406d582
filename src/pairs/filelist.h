// The file list: the files of one folder, hidden files left out.
#pragma once

#include <QListWidget>

class FileList final : public QListWidget
{
    Q_OBJECT
  public:
    explicit FileList(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Lists the folder's files. When it cannot be read the list stays as it was and the
    // system's reason is returned; an empty result means success.
    QString setPath(const QString &path);

  private:
    QString m_path;
};
