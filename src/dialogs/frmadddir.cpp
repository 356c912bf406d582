#include "frmadddir.h"

#include "controls/controlbuilder.h"
#include "controls/drivefolder.h"
#include "controls/drivelist.h"
#include "controls/folderlist.h"
#include "createfolder.h"
#include "platform/messageboxes.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int kClientWidth = 5496;  // twips
constexpr int kClientHeight = 4116; // twips
using K = ControlKind;

// Listed in tab order, which is the order the controls are created in.
constexpr ControlEntry kControls[]{
    {"Drive1", K::DriveList, "", 1680, 240, 2172, 288},
    {"Dir1", K::FolderList, "", 960, 720, 3612, 1800},
    {"Text1", K::TextBox, "", 480, 3084, 4452, 288},
    {"Label1", K::Label, "Complete the path for the new directory here", 480, 2760, 3132, 252},
    {"Command1", K::Button, "&Done", 4080, 3600, 1092, 372},
    {"Command2", K::Button, "C&reate Directory", 240, 3600, 1932, 372},
    {"Command3", K::Button, "C&ancel", 2520, 3600, 1212, 372},
};
} // namespace

frmAddDir::frmAddDir(MessageBoxes &messages, const Drives &drives) : m_messages(messages)
{
    setObjectName(QStringLiteral("frmAddDir"));
    setWindowTitle(QStringLiteral("Add A Directory"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));
    buildControls(this, kControls);
    Drive1 = control<DriveList>(this, "Drive1");
    Dir1 = control<FolderList>(this, "Dir1");
    Text1 = control<QLineEdit>(this, "Text1");

    // The lists start at the program's current folder; no change is reported for that, so Text1
    // stays empty until the user moves. A folder that cannot be read leaves them empty.
    const QString start = QDir::currentPath();
    Drive1->setDrives(drives);
    if (const Outcome shown = showStartFolder(Drive1, Dir1, start); !shown.ok())
        m_messages.inform(shown.why());

    connect(Drive1, &DriveList::changed, this, &frmAddDir::Drive1_Change);
    connect(Dir1, &FolderList::changed, this, &frmAddDir::Dir1_Change);
    connect(Dir1, &FolderList::openFailed, this,
            [this](const QString &reason) { m_messages.inform(reason); });
    connect(control<QPushButton>(this, "Command1"), &QPushButton::clicked, this,
            &frmAddDir::Command1_Click);
    connect(control<QPushButton>(this, "Command2"), &QPushButton::clicked, this,
            &frmAddDir::Command2_Click);
    connect(control<QPushButton>(this, "Command3"), &QPushButton::clicked, this,
            &frmAddDir::Command3_Click);
}

void frmAddDir::Drive1_Change()
{
    if (const Outcome followed = followPickedDrive(Drive1, Dir1); !followed.ok())
        m_messages.inform(followed.why());
}

void frmAddDir::Dir1_Change()
{
    Text1->setText(Dir1->path());
}

void frmAddDir::Command2_Click()
{
    const Outcome created = createFolder(Text1->text());
    m_messages.inform(created.ok() ? QStringLiteral("Your folder has been successfully created.")
                                   : created.why());
}
