// Activating the schedule: the checks, the next copy date and the interval and time stored, and
// the schedule frozen. The button and the start-up restore run the same procedure.
#include "app/controlbuilder.h"
#include "app/frmselect.h"
#include "app/refusals.h"
#include "app/textforms.h"
#include "listlock.h"
#include "nextcopydate.h"
#include "platform/clock.h"
#include "platform/messageboxes.h"
#include "store/settingsstore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

const QString kNoPath =
    QStringLiteral("You cannot XCopy unless at least 1 set of paths have been entered and locked "
                   "in by checking the box next to the paths.");
const QString kNoDaysOrTime =
    QStringLiteral("Please make sure the Days Time fields are entered before proceeding.");
const QString kRecorded =
    QStringLiteral("Your Auto-XCopy settings have been recorded.  Your folders will XCopy at the "
                   "date and time you have set.");

constexpr QRgb kFrozenGreen = 0x008000;

} // namespace

void frmSelect::cmdActivateAS_Click()
{
    activateSchedule(true);
}

void frmSelect::cmdActivateAS2()
{
    activateSchedule(false);
}

void frmSelect::activateSchedule(bool byButton)
{
    const QDateTime now = m_platform.clock.now();

    // During start-up the window is not shown yet; the focus then waits until it is.
    const auto refuse = [this](const QString &message, QWidget *toFix) {
        m_platform.messages.inform(message);
        toFix->setFocus(Qt::OtherFocusReason);
    };
    if (!ui.anyPairLocked())
        return refuse(kNothingToCopyText, ui.Text[0]);
    if (!ui.anyPathEntered())
        return refuse(kNoPath, ui.Text[0]);
    const QString days = ui.cmbDays->currentText();
    const QString time = ui.Combo1->currentText();
    if (days.isEmpty() || time.isEmpty() || !ui.ckUseTimer->isChecked())
        return refuse(kNoDaysOrTime, ui.cmbDays);

    const QDate next = activationDate(now, timeFromText(time), days.toInt());
    m_platform.store.ReplaceRecord(Table::Date, storedDate(next));
    m_platform.store.AppendRecord(Table::Days, days);
    m_platform.store.AppendRecord(Table::Time, time);
    if (byButton)
        m_platform.messages.inform(kRecorded);
    showNextCopyDate();

    setListLocked(ui.cmbDays, true);
    setListLocked(ui.Combo1, true);
    ui.ckUseTimer->hide();
    ui.lblUseTimer->hide();
    ui.lblSyncSet->show();
    setTextColour(ui.cmbDays, kFrozenGreen);
    setTextColour(ui.Combo1, kFrozenGreen);
    ui.cmdActivateAS->hide();
    ui.cmdCreateDir->hide();

    if (byButton) {
        for (int pair = 1; pair <= 7; ++pair) {
            if (ui.lockBox(pair)->isChecked())
                (this->*kLockHandlers[pair - 1])();
        }
    }
}

void frmSelect::showNextCopyDate()
{
    const std::optional<QString> stored = m_platform.store.ReadField(Table::Date);
    ui.lblNextDate->setText(stored ? dateText(dateFromStored(*stored)) : QString());
}

// Active from the freeze of the activation until the stop.
bool frmSelect::scheduleActive() const
{
    return ui.ckUseTimer->isChecked() && !ui.lblSyncSet->isHidden();
}
