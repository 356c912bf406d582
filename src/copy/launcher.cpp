#include "app/frmselect.h"
#include "copycommand.h"
#include "platform/messageboxes.h"

#include <QLineEdit>

void frmSelect::startCopy(int pair)
{
    // The live texts, not the saved ones: a box edited since the lock is copied as it reads now.
    const QString reason = m_platform.programs.start(
        copyCommand(pair, ui.fromBox(pair)->text(), ui.toBox(pair)->text()));
    if (!reason.isEmpty())
        m_platform.messages.inform(
            QStringLiteral("Folder pair %1 was not copied: %2").arg(pair).arg(reason));
}
