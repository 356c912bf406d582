#include "folderlist.h"

#include "folderentries.h"
#include "folderreading.h"

#include <QStyledItemDelegate>

namespace {

// Draws each entry indented by its depth, so that the chain of parents reads as a path.
class IndentingDelegate final : public QStyledItemDelegate
{
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const int step = option->decorationSize.width() / 2 + 2;
        option->rect.setLeft(option->rect.left() +
                             index.data(FolderEntries::DepthRole).toInt() * step);
    }
};

} // namespace

FolderList::FolderList(QWidget *parent) : QListView(parent), m_entries(new FolderEntries(this))
{
    setModel(m_entries);
    setItemDelegate(new IndentingDelegate(this));
    setUniformItemSizes(true);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    connect(this, &QAbstractItemView::activated, this, &FolderList::open);
}

Outcome FolderList::setPath(const QString &path)
{
    const QDir folder(path);
    const FolderContents subfolders = readFolder(folder.path(), QDir::Dirs);
    if (!subfolders.failure.isEmpty())
        return Outcome::failed(subfolders.failure);

    QStringList chain;
    for (QDir level(folder.absolutePath());;) {
        chain.prepend(level.absolutePath());
        if (!level.cdUp())
            break;
    }
    m_entries->show(chain, subfolders.names);
    const QModelIndex current = m_entries->index(m_entries->currentRow());
    setCurrentIndex(current);
    scrollTo(current);

    const QString newPath = QDir::toNativeSeparators(folder.absolutePath());
    if (newPath != m_path) {
        m_path = newPath;
        emit changed();
    }
    return Outcome::done();
}

void FolderList::open(const QModelIndex &entry)
{
    const Outcome opened = setPath(entry.data(FolderEntries::PathRole).toString());
    if (opened.ok())
        return;
    // The click moved the highlight; the folder shown as current is still the old one.
    setCurrentIndex(m_entries->index(m_entries->currentRow()));
    emit openFailed(opened.why());
}
