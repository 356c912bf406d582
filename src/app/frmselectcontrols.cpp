#include "frmselectcontrols.h"

#include "controls/captionlabel.h"
#include "controls/controlbuilder.h"
#include "controls/drivelist.h"
#include "controls/filelist.h"
#include "controls/folderlist.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

void frmSelectControls::bind(QWidget *client)
{
    const auto numbered = [](const char *stem, int n) {
        return QByteArray(stem) + QByteArray::number(n);
    };
    for (int n = 1; n <= 14; ++n)
        Text[n - 1] = control<QLineEdit>(client, numbered("Text", n).constData());
    for (int n = 1; n <= 7; ++n)
        Check[n - 1] = control<QCheckBox>(client, numbered("Check", n).constData());
    for (int n = 1; n <= 2; ++n) {
        Drive[n - 1] = control<DriveList>(client, numbered("Drive", n).constData());
        Dir[n - 1] = control<FolderList>(client, numbered("Dir", n).constData());
        File[n - 1] = control<FileList>(client, numbered("File", n).constData());
    }
    ckUseTimer = control<QCheckBox>(client, "ckUseTimer");
    lblUseTimer = control<QLabel>(client, "lblUseTimer");
    lblSyncSet = control<QLabel>(client, "lblSyncSet");
    Label12 = control<QLabel>(client, "Label12");
    cmbDays = control<QComboBox>(client, "cmbDays");
    Label16 = control<QLabel>(client, "Label16");
    Label24 = control<QLabel>(client, "Label24");
    Combo1 = control<QComboBox>(client, "Combo1");
    cmdActivateAS = control<QPushButton>(client, "cmdActivateAS");
    CkStopAutoSync = control<QCheckBox>(client, "CkStopAutoSync");
    Label25 = control<QLabel>(client, "Label25");
    Command1 = control<QPushButton>(client, "Command1");
    cmdCreateDir = control<QPushButton>(client, "cmdCreateDir");
    lblNextSync = control<QLabel>(client, "lblNextSync");
    lblNextDate = control<QLabel>(client, "lblNextDate");
    lblDate = control<QLabel>(client, "lblDate");
    lblTimer = control<CaptionLabel>(client, "lblTimer");
}
