// The main window's controls, reached by their names.
#pragma once

#include "pairs/folderpairs.h"

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

    QLineEdit *fromBox(FolderPair pair) const { return Text[pair.fromBox() - 1]; }
    QLineEdit *toBox(FolderPair pair) const { return Text[pair.toBox() - 1]; }
    QLineEdit *box(FolderPair pair, Side side) const
    {
        return side == Side::From ? fromBox(pair) : toBox(pair);
    }
    QCheckBox *lockBox(FolderPair pair) const { return Check[pair.index()]; }

    void bind(QWidget *client);
};
