// Folder pairs on the window: picking drives and folders on either side fills the free pair's
// box; the lock box locks a pair in and saves it, or unlocks it and forgets it.
#include "frmselect.h"

#include "controls/controlbuilder.h"
#include "controls/drivefolder.h"
#include "controls/drivelist.h"
#include "controls/filelist.h"
#include "controls/folderlist.h"
#include "lockvalue.h"
#include "pairs/pairingtable.h"
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
    if (const QString failure = followPickedDrive(ui.Drive[index(side)], ui.Dir[index(side)]);
        !failure.isEmpty())
        m_platform.messages.inform(failure);
}

void frmSelect::dirChange(Side side)
{
    const QString path = ui.Dir[index(side)]->path();
    ui.Drive[index(side)]->showDriveOf(path);
    if (const QString failure = ui.File[index(side)]->setPath(path); !failure.isEmpty()) {
        m_platform.messages.inform(failure);
        return;
    }

    LockPattern locks{};
    for (FolderPair pair : FolderPair::all())
        locks[pair.index()] = lockValue(ui.lockBox(pair));
    for (int number : pairsMatching(locks)) {
        const FolderPair pair(number);
        (side == Side::From ? ui.fromBox(pair) : ui.toBox(pair))->setText(path);
    }
}

void frmSelect::lockClick(FolderPair pair)
{
    const std::array boxes{ui.fromBox(pair), ui.toBox(pair)};

    if (lockValue(ui.lockBox(pair)) == 1) {
        for (QLineEdit *box : boxes)
            box->setReadOnly(true);
        for (QLineEdit *box : boxes)
            setTextColour(box, kLockedColour);
        // A failed save is reported by the store; the pair stays locked on screen.
        m_savedPairs.lock(pair, boxes[0]->text(), boxes[1]->text());
    }
    // Read afresh, not an else: the value may have changed while the paths were saved.
    if (lockValue(ui.lockBox(pair)) == 0) {
        for (QLineEdit *box : boxes)
            box->setReadOnly(false);
        const QRgb buttonText = QApplication::palette().color(QPalette::ButtonText).rgb();
        for (QLineEdit *box : boxes)
            setTextColour(box, buttonText);
        m_savedPairs.unlock(pair);
    }
}

PairEntries frmSelect::pairEntries() const
{
    PairEntries entries;
    for (FolderPair pair : FolderPair::all())
        entries[pair] = {ui.fromBox(pair)->text(), ui.toBox(pair)->text(),
                         ui.lockBox(pair)->isChecked()};
    return entries;
}
