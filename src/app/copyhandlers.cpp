// The copy run on the window. A refusal is answered at once; the pairs that could not start are
// reported once everything else is done, in a box that holds up neither the clock nor the next
// run.
#include "frmselect.h"

#include "copy/frmxcopynotify.h"
#include "platform/messageboxes.h"

#include <QLineEdit>

void frmSelect::startCopy(FolderPair pair)
{
    notify(m_copyRun.startPair(pair));
}

void frmSelect::Command1_Click()
{
    const CopyRunReport run = m_copyRun.run();
    if (run.refused) {
        m_platform.messages.inform(kNothingToCopyText);
        ui.Text[0]->setFocus();
        return;
    }
    if (run.nextCopyDate)
        showNextCopyDate(run.nextCopyDate);

    // At most one notice is open, and it shows the latest run.
    if (m_notice)
        m_notice->close();
    m_notice = new frmXcopyNotify(m_platform.clock);
    m_notice->show();

    if (!run.failures.isEmpty())
        m_platform.messages.notify(run.failures.join(QLatin1Char('\n')));
    notify(run.saved);
}
