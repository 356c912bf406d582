#include "drivelist.h"

#include <QDir>
#include <QSignalBlocker>

DriveList::DriveList(QWidget *parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::changed);
}

void DriveList::setDrives(const Drives &drives)
{
    m_drives = &drives;
    refresh();
}

void DriveList::showPopup()
{
    refresh();
    QComboBox::showPopup();
}

// The picked drive stays picked while it is there.
void DriveList::refresh()
{
    const QString picked = drive();
    const QSignalBlocker quiet(this);
    clear();
    for (const Drive &drive : m_drives->list())
        addItem(drive.label, drive.root);
    setCurrentIndex(findData(picked));
}

QString DriveList::drive() const
{
    return currentData().toString();
}

void DriveList::showDriveOf(const QString &path)
{
    const QString cleanPath = QDir::fromNativeSeparators(path);
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        QString root = QDir::fromNativeSeparators(itemData(i).toString());
        if (!root.endsWith(QLatin1Char('/')))
            root += QLatin1Char('/');
        const bool holds = (cleanPath + QLatin1Char('/')).startsWith(root, Qt::CaseInsensitive);
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    const QSignalBlocker quiet(this);
    setCurrentIndex(best);
}
