#include "browsinghelpers.h"

#include "pairs/folderlist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

QStringList shownNames(const QAbstractItemView *list)
{
    QStringList names;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        names.append(list->model()->index(row, 0).data().toString());
    return names;
}

void openEntry(FolderList *list, const QString &name)
{
    const int row = int(shownNames(list).indexOf(name));
    if (row < 0)
        qFatal("no entry %s", qPrintable(name));
    list->setCurrentIndex(list->model()->index(row, 0));
    QTest::keyClick(list, Qt::Key_Return);
}

void makeEntries(const QString &root, const QStringList &entries)
{
    for (const QString &entry : entries) {
        const QString path = QDir(root).filePath(entry);
        const bool made =
            QDir().mkpath(QFileInfo(path).path()) &&
            (entry.endsWith(QLatin1Char('/')) || QFile(path).open(QIODevice::WriteOnly));
        if (!made)
            qFatal("cannot make %s", qPrintable(path));
    }
}
