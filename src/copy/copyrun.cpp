// The copy run: the two checks, the copy command of every locked pair, the next copy date moved
// on in the automatic mode, and the run notice.
#include "app/frmselect.h"
#include "app/refusals.h"
#include "app/textforms.h"
#include "frmxcopynotify.h"
#include "platform/messageboxes.h"
#include "schedule/nextcopydate.h"
#include "store/settingsstore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

// The next copy date moves on from the stored one, not from today, so that a run fired on
// that date moves it exactly one interval. Without a stored date or a whole number of days the
// date stays as it is and the run goes on.
void moveNextCopyDate(SettingsStore &store, const QString &interval)
{
    const std::optional<int> days = intervalDays(interval);
    const std::optional<QString> stored = store.ReadField(Table::Date);
    if (!days || !stored)
        return;
    if (const QDate next = dateFromStored(*stored); next.isValid())
        store.AppendRecord(Table::Date, storedDate(next.addDays(*days)));
}

} // namespace

void frmSelect::Command1_Click()
{
    if (!ui.anyPairLocked() || !ui.anyPathEntered()) {
        m_platform.messages.inform(kNothingToCopyText);
        ui.Text[0]->setFocus();
        return;
    }

    for (int pair = 1; pair <= 7; ++pair) {
        if (ui.lockBox(pair)->isChecked())
            (this->*kCopyLaunchers[pair - 1])();
    }

    const bool automatic = ui.ckUseTimer->isChecked();
    if (automatic)
        moveNextCopyDate(m_platform.store, ui.cmbDays->currentText());
    m_platform.store.KeepNewestRecord(Table::Date);
    if (automatic) {
        if (const std::optional<QString> next = m_platform.store.ReadField(Table::Date)) {
            if (const QDate date = dateFromStored(*next); date.isValid())
                ui.lblNextDate->setText(dateText(date));
        }
    }

    // At most one notice is open, and it shows the latest run.
    if (m_notice)
        m_notice->close();
    m_notice = new frmXcopyNotify(m_platform.clock);
    m_notice->show();
}
