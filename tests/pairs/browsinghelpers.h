// What a user does with the folder lists, and the folders to do it in.
#pragma once

#include <QStringList>

class FolderList;
class QAbstractItemView;

// The texts a list shows, top to bottom.
QStringList shownNames(const QAbstractItemView *list);
// Selects the entry showing that name and presses Enter on it.
void openEntry(FolderList *list, const QString &name);
// Makes the folders (ending in '/') and empty files, relative to root.
void makeEntries(const QString &root, const QStringList &entries);
