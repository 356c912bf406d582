// The automatic mode on the window: the automatic box and the stop, activation, and the clock
// whose every second asks the schedule whether a run is due.
#include "frmselect.h"

#include "common/textforms.h"
#include "controls/captionlabel.h"
#include "controls/controlbuilder.h"
#include "controls/listlock.h"
#include "platform/clock.h"
#include "platform/messageboxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <utility>

namespace {

const QString kStopPrompt =
    QStringLiteral("You have selected to Stop Using Auto-Xcopy.  To Stop Using Auto-Xcopy, Click "
                   "OK, ") +
    QStringLiteral("otherwise click Cancel.  If you Click OK, all saved path information and "
                   "timer settings ") +
    QStringLiteral("will be cleared!");
const QString kRecorded =
    QStringLiteral("Your Auto-XCopy settings have been recorded.  Your folders will XCopy at the "
                   "date and time you have set.");

constexpr QRgb kFrozenGreen = 0x008000;

} // namespace

void frmSelect::ckUseTimer_Click()
{
    const bool on = ui.ckUseTimer->isChecked();
    m_schedule.switchAutomatic(on);
    showScheduleGroup(on);
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

void frmSelect::activateSchedule(Schedule::ActivatedBy by)
{
    if (const std::optional<Schedule::Refusal> refusal = m_schedule.activate(pairEntries(), by)) {
        // A failed save has been reported by the settings database already.
        if (*refusal == Schedule::Refusal::NotSaved)
            return;
        m_platform.messages.inform(Schedule::message(*refusal));
        // During start-up the window is not shown yet; the focus then waits until it is.
        QWidget *toFix = *refusal == Schedule::Refusal::NoIntervalOrTime
                             ? static_cast<QWidget *>(ui.cmbDays)
                             : ui.Text[0];
        toFix->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (by == Schedule::ActivatedBy::Button)
        m_platform.messages.inform(kRecorded);
    showNextCopyDate(m_schedule.nextCopyDate());
    freezeSchedule();

    if (by == Schedule::ActivatedBy::Button) {
        for (FolderPair pair : FolderPair::all()) {
            if (ui.lockBox(pair)->isChecked())
                (this->*kLockHandlers[pair.index()])();
        }
    }
}

void frmSelect::freezeSchedule()
{
    setListLocked(ui.cmbDays, true);
    setListLocked(ui.Combo1, true);
    ui.ckUseTimer->hide();
    ui.lblUseTimer->hide();
    ui.lblSyncSet->show();
    setTextColour(ui.cmbDays, kFrozenGreen);
    setTextColour(ui.Combo1, kFrozenGreen);
    ui.cmdActivateAS->hide();
    ui.cmdCreateDir->hide();
}

void frmSelect::showNextCopyDate(const std::optional<QDate> &date)
{
    ui.lblNextDate->setText(date ? dateText(*date) : QString());
}

// Both labels show the same reading of the clock, also in the last moment before midnight.
void frmSelect::Timer1_Timer()
{
    m_tick = m_platform.clock.now();
    ui.lblTimer->setCaption(timeText(m_tick.time()));
    ui.lblDate->setText(dateText(m_tick.date()));
    armClock();
}

// The clock ticks just after each wall-clock second, re-armed at every tick from a fresh reading
// (a run fired by the tick may have taken a while), so that it neither drifts past a second nor
// shows one twice. A coarse timer may fire some milliseconds early, inside the second already
// shown.
void frmSelect::armClock()
{
    constexpr int kPastTheSecond = 5; // ms
    ui.Timer1->setTimerType(Qt::PreciseTimer);
    ui.Timer1->start(1000 - m_platform.clock.now().time().msec() + kPastTheSecond);
}

// Runs inside the tick, each time the time label shows another second.
void frmSelect::lblTimer_Change()
{
    const Schedule::Tick tick = m_schedule.tick(m_tick);
    if (tick.dateMoved)
        showNextCopyDate(m_schedule.nextCopyDate());
    if (tick.runDue)
        Command1_Click();
}
