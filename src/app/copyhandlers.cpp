// The copy run: the two checks, the copy command of every locked pair, the next copy date moved
// on in the automatic mode, and the run notice.
#include "frmselect.h"

#include "copy/frmxcopynotify.h"
#include "platform/messageboxes.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

void frmSelect::startCopy(FolderPair pair)
{
    // The live texts, not the saved ones: a box edited since the lock is copied as it reads now.
    if (const QString failure =
            m_copies.start(pair, ui.fromBox(pair)->text(), ui.toBox(pair)->text());
        !failure.isEmpty())
        m_platform.messages.inform(failure);
}

void frmSelect::Command1_Click()
{
    if (const PairEntries entries = pairEntries();
        !entries.anyLocked() || !entries.anyPathEntered()) {
        m_platform.messages.inform(kNothingToCopyText);
        ui.Text[0]->setFocus();
        return;
    }

    for (FolderPair pair : FolderPair::all()) {
        if (ui.lockBox(pair)->isChecked())
            (this->*kCopyLaunchers[pair.index()])();
    }
    if (const std::optional<QDate> next = m_schedule.afterRun())
        showNextCopyDate(next);

    // At most one notice is open, and it shows the latest run.
    if (m_notice)
        m_notice->close();
    m_notice = new frmXcopyNotify(m_platform.clock);
    m_notice->show();
}
