#include "filelist.h"

#include "folderreading.h"

#include <QStringListModel>

FileList::FileList(QWidget *parent) : QListView(parent), m_files(new QStringListModel(this))
{
    setModel(m_files);
    setUniformItemSizes(true);
    setEditTriggers(NoEditTriggers);
}

Outcome FileList::setPath(const QString &path)
{
    const FolderContents files = readFolder(path, QDir::Files);
    if (!files.failure.isEmpty())
        return Outcome::failed(files.failure);
    m_files->setStringList(files.names);
    m_path = path;
    return Outcome::done();
}
