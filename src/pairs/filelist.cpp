#include "filelist.h"

#include <QDir>

FileList::FileList(QWidget *parent) : QListWidget(parent)
{
    setUniformItemSizes(true);
}

QString FileList::setPath(const QString &path)
{
    const QDir folder(path);
    if (!folder.exists() || !folder.isReadable())
        return QStringLiteral("The folder %1 cannot be read.").arg(QDir::toNativeSeparators(path));
    const QStringList files =
        folder.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    clear();
    addItems(files);
    m_path = path;
    return {};
}
