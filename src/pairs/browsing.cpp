// Picking drives and folders on either side, and filling the free pair's box with the folder.
#include "app/frmselect.h"

#include "pairs/drivefolder.h"
#include "pairs/drivelist.h"
#include "pairs/filelist.h"
#include "pairs/folderlist.h"
#include "pairs/lockvalue.h"
#include "pairs/pairingtable.h"
#include "platform/messageboxes.h"

#include <QLineEdit>

namespace {
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
    for (int pair = 1; pair <= 7; ++pair)
        locks[pair - 1] = lockValue(ui.lockBox(pair));
    for (int pair : pairsMatching(locks))
        (side == Side::From ? ui.fromBox(pair) : ui.toBox(pair))->setText(path);
}

void frmSelect::folderOpenFailed(const QString &reason)
{
    m_platform.messages.inform(reason);
}
