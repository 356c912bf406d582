// The add-folder dialog and the About window are top-level windows of their own, found here by
// their class rather than through the main window.
#pragma once

#include <QApplication>
#include <QWidget>

template <typename T> QList<T *> openWindows()
{
    QList<T *> found;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *wanted = qobject_cast<T *>(window))
            found.append(wanted);
    }
    return found;
}

// They outlive the main window by design, so each test removes the ones it left open.
template <typename T> void deleteWindows()
{
    qDeleteAll(openWindows<T>());
}
