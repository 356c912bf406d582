// The add-folder dialog: the user picks a parent folder in its own lists, completes the path in
// Text1 and creates the new folder. It reads and writes nothing of the main window or the
// settings database, so it can stay open after the main window has closed.
#pragma once

#include <QWidget>

class DriveList;
class Drives;
class FolderList;
class MessageBoxes;
class QLineEdit;

class frmAddDir final : public QWidget
{
    Q_OBJECT
  public:
    // The message boxes and the drives must outlive the dialog.
    explicit frmAddDir(MessageBoxes &messages, const Drives &drives);

    void Drive1_Change();
    void Dir1_Change();
    void Command2_Click();
    void Command1_Click() { close(); }
    void Command3_Click() { close(); }

  private:
    MessageBoxes &m_messages;
    DriveList *Drive1;
    FolderList *Dir1;
    QLineEdit *Text1;
};
