// The automatic box that shows the schedule group, and the stop that erases every setting.
#include "app/controlbuilder.h"
#include "app/frmselect.h"
#include "app/textforms.h"
#include "listlock.h"
#include "platform/clock.h"
#include "platform/messageboxes.h"
#include "store/settingsstore.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <utility>

namespace {
const QString kStopPrompt =
    QStringLiteral("You have selected to Stop Using Auto-Xcopy.  To Stop Using Auto-Xcopy, Click "
                   "OK, ") +
    QStringLiteral("otherwise click Cancel.  If you Click OK, all saved path information and "
                   "timer settings ") +
    QStringLiteral("will be cleared!");
} // namespace

void frmSelect::ckUseTimer_Click()
{
    const bool on = ui.ckUseTimer->isChecked();
    m_platform.store.ReplaceRecord(Table::AutoSync, on ? QStringLiteral("1") : QStringLiteral("0"));
    showScheduleGroup(on);
    if (on)
        m_platform.store.AppendRecord(Table::Date, storedDate(m_platform.clock.now().date()));
}

// The schedule group takes the place of the copy and add-folder buttons, set in this order.
void frmSelect::showScheduleGroup(bool shown)
{
    const std::pair<QWidget *, bool> controls[] = {
        {ui.Command1, false},     {ui.Label12, true},        {ui.Label16, true},
        {ui.Label24, true},       {ui.cmbDays, true},        {ui.Combo1, true},
        {ui.cmdActivateAS, true}, {ui.CkStopAutoSync, true}, {ui.Label25, true},
        {ui.lblNextDate, true},   {ui.lblNextSync, true},    {ui.cmdCreateDir, false},
    };
    for (const auto &[control, partOfGroup] : controls)
        control->setHidden(partOfGroup != shown);
}

void frmSelect::CkStopAutoSync_Click()
{
    // Unchecking the box from below runs this handler again; that run has nothing to do.
    if (!ui.CkStopAutoSync->isChecked())
        return;
    if (!m_platform.messages.confirm(kStopPrompt)) {
        ui.CkStopAutoSync->setChecked(false);
        return;
    }
    ui.Command1->show();
    for (QWidget *control :
         std::initializer_list<QWidget *>{ui.Label12, ui.Label16, ui.Label24, ui.cmbDays, ui.Combo1,
                                          ui.cmdActivateAS, ui.CkStopAutoSync, ui.Label25})
        control->hide();
    ui.ckUseTimer->setChecked(false);
    ui.CkStopAutoSync->setChecked(false);
    ui.ckUseTimer->show();
    ui.lblUseTimer->show();
    const QRgb windowText = QApplication::palette(ui.cmbDays).color(QPalette::WindowText).rgb();
    for (QComboBox *list : {ui.cmbDays, ui.Combo1}) {
        setListLocked(list, false);
        setTextColour(list, windowText);
    }
    ui.lblSyncSet->hide();
    ui.cmdCreateDir->hide();
    DBDelete();
}
