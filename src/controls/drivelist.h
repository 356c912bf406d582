// The drive list: the drives to pick from, each standing for its current folder. They are read
// anew each time the list opens, so that media mounted since appear.
#pragma once

#include "platform/drives.h"

#include <QComboBox>

class DriveList final : public QComboBox
{
    Q_OBJECT
  public:
    explicit DriveList(QWidget *parent = nullptr);

    // The drives must outlive the list.
    void setDrives(const Drives &drives);
    void showPopup() override;
    // The current folder of the selected drive.
    QString drive() const;
    // Selects the drive that holds the path, without reporting a change.
    void showDriveOf(const QString &path);

  signals:
    // The user picked another drive.
    void changed();

  private:
    void refresh();

    const Drives *m_drives = nullptr;
};
