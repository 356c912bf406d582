#include "folderlist.h"

#include <QDir>
#include <QFileIconProvider>

namespace {
constexpr int kPathRole = Qt::UserRole;
constexpr int kIndent = 2; // blanks per level, as the chain of parents is drawn
} // namespace

FolderList::FolderList(QWidget *parent) : QListWidget(parent)
{
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemActivated, this, &FolderList::open);
}

QString FolderList::setPath(const QString &path)
{
    QDir folder(path);
    if (!folder.exists())
        return QStringLiteral("The folder %1 does not exist.").arg(QDir::toNativeSeparators(path));
    if (!folder.isReadable())
        return QStringLiteral("The folder %1 cannot be read.").arg(QDir::toNativeSeparators(path));
    const QStringList subfolders =
        folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);

    QStringList chain;
    for (QDir level(folder.absolutePath());;) {
        chain.prepend(level.absolutePath());
        if (!level.cdUp())
            break;
    }

    const QIcon folderIcon = QFileIconProvider().icon(QFileIconProvider::Folder);
    clear();
    int depth = 0;
    for (const QString &level : std::as_const(chain)) {
        const QString name = depth == 0 ? QDir::toNativeSeparators(level) : QDir(level).dirName();
        auto *item = new QListWidgetItem(folderIcon,
                                         QString(depth * kIndent, QLatin1Char(' ')) + name, this);
        item->setData(kPathRole, level);
        ++depth;
    }
    setCurrentRow(count() - 1);
    const QString indent(depth * kIndent, QLatin1Char(' '));
    for (const QString &name : subfolders) {
        auto *item = new QListWidgetItem(folderIcon, indent + name, this);
        item->setData(kPathRole, folder.absoluteFilePath(name));
    }

    const QString newPath = QDir::toNativeSeparators(folder.absolutePath());
    if (newPath != m_path) {
        m_path = newPath;
        emit changed();
    }
    return {};
}

void FolderList::open(QListWidgetItem *item)
{
    if (const QString reason = setPath(item->data(kPathRole).toString()); !reason.isEmpty())
        emit openFailed(reason);
}
