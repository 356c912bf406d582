// The drive list: the drives to pick from, each standing for its current folder.
#pragma once

#include "platform/drives.h"

#include <QComboBox>

class DriveList final : public QComboBox
{
    Q_OBJECT
  public:
    explicit DriveList(QWidget *parent = nullptr);

    void setDrives(const QList<Drive> &drives);
    // The current folder of the selected drive.
    QString drive() const;
    // Selects the drive that holds the path, without reporting a change.
    void showDriveOf(const QString &path);

  signals:
    // The user picked another drive.
    void changed();
};
