// The main window's controls, reached by their names.
#pragma once

#include <QtGlobal>

#include <array>

class CaptionLabel;
class DriveList;
class FileList;
class FolderList;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QWidget;

enum class Side { From = 0, To = 1 };

struct frmSelectControls
{
    std::array<QLineEdit *, 14> Text{}; // Text[0] is Text1
    std::array<QCheckBox *, 7> Check{}; // Check[0] is Check1
    std::array<DriveList *, 2> Drive{}; // by Side: Drive1, Drive2
    std::array<FolderList *, 2> Dir{};  // Dir1, Dir2
    std::array<FileList *, 2> File{};   // File1, File2

    QCheckBox *ckUseTimer = nullptr;
    QLabel *lblUseTimer = nullptr;
    QLabel *lblSyncSet = nullptr;
    QLabel *Label12 = nullptr;
    QComboBox *cmbDays = nullptr;
    QLabel *Label16 = nullptr;
    QLabel *Label24 = nullptr;
    QComboBox *Combo1 = nullptr;
    QPushButton *cmdActivateAS = nullptr;
    QCheckBox *CkStopAutoSync = nullptr;
    QLabel *Label25 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *cmdCreateDir = nullptr;
    QLabel *lblNextSync = nullptr;
    QLabel *lblNextDate = nullptr;
    QLabel *lblDate = nullptr;
    CaptionLabel *lblTimer = nullptr;
    QTimer *Timer1 = nullptr;

    // Folder pair k = 1..7.
    QLineEdit *fromBox(int pair) const { return Text[2 * pair - 2]; }
    QLineEdit *toBox(int pair) const { return Text[2 * pair - 1]; }
    QCheckBox *lockBox(int pair) const { return Check[pair - 1]; }

    // Whether any lock box is ticked, and whether any of the fourteen boxes holds a path.
    bool anyPairLocked() const;
    bool anyPathEntered() const;

    void bind(QWidget *client);
};
