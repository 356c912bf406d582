// Folder pairs on the window: picking drives and folders on either side fills the free pair's
// box; the lock box locks a pair in and saves it, or unlocks it and forgets it.
#include "frmselect.h"

#include "controls/controlbuilder.h"
#include "controls/drivefolder.h"
#include "controls/drivelist.h"
#include "controls/filelist.h"
#include "controls/folderlist.h"
#include "platform/messageboxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>

namespace {
constexpr QRgb kLockedColour = 0x008000;

std::size_t index(Side side)
{
    return static_cast<std::size_t>(side);
}
} // namespace

void frmSelect::driveChange(Side side)
{
    // Moving the folder list runs dirChange for this side before it returns.
    report(followPickedDrive(ui.Drive[index(side)], ui.Dir[index(side)]));
}

void frmSelect::dirChange(Side side)
{
    const QString path = ui.Dir[index(side)]->path();
    ui.Drive[index(side)]->showDriveOf(path);
    if (const Outcome listed = ui.File[index(side)]->setPath(path); !listed.ok()) {
        report(listed);
        return;
    }
    for (FolderPair pair : m_pairs.pick(side, path))
        drawPair(pair);
}

void frmSelect::lockClick(FolderPair pair)
{
    const Outcome saved = ui.lockBox(pair)->isChecked() ? m_pairs.lock(pair) : m_pairs.unlock(pair);
    drawPair(pair);
    drawLock(pair);
    report(saved);
}

void frmSelect::drawPair(FolderPair pair)
{
    const PairEntry &entry = m_pairs[pair];
    ui.fromBox(pair)->setText(entry.from);
    ui.toBox(pair)->setText(entry.to);
    ui.lockBox(pair)->setChecked(entry.locked);
}

// A locked pair's boxes are read-only and green; unlocked, they take the buttons' text colour.
void frmSelect::drawLock(FolderPair pair)
{
    const bool locked = m_pairs[pair].locked;
    const QRgb colour =
        locked ? kLockedColour : QApplication::palette().color(QPalette::ButtonText).rgb();
    for (Side side : {Side::From, Side::To}) {
        ui.box(pair, side)->setReadOnly(locked);
        setTextColour(ui.box(pair, side), colour);
    }
}
