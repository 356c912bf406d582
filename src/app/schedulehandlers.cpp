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
    const Outcome saved = m_schedule.switchAutomatic(ui.ckUseTimer->isChecked());
    drawAutomaticBox();
    report(saved);
}

void frmSelect::drawAutomaticBox()
{
    ui.ckUseTimer->setChecked(m_schedule.automatic());
    showScheduleGroup(m_schedule.automatic());
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
    // The stop switches the automatic mode off before it erases every saved setting.
    const Outcome stopped = m_schedule.stop();
    drawAutomaticBox();
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
    report(stopped);
}

void frmSelect::activateSchedule(Schedule::ActivatedBy by)
{
    const Schedule::Activation activation = m_schedule.activate(m_pairs, by);
    if (const std::optional<Schedule::Refusal> refusal = activation.refusal) {
        if (*refusal == Schedule::Refusal::NotSaved) {
            report(activation.saved);
            return;
        }
        m_platform.messages.inform(Schedule::message(*refusal));
        // During start-up the window is not shown yet; the focus then waits until it is.
        QWidget *toFix = *refusal == Schedule::Refusal::NoIntervalOrTime
                             ? static_cast<QWidget *>(ui.cmbDays)
                             : ui.Text[0];
        toFix->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The confirmation only when it holds: otherwise why the settings are not saved.
    if (by == Schedule::ActivatedBy::Button)
        m_platform.messages.inform(activation.saved.ok() ? kRecorded : activation.saved.why());
    showNextCopyDate(m_schedule.nextCopyDate());
    freezeSchedule();
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

// Both labels show the same reading of the clock, also in the last moment before midnight. The
// next tick is armed first, so that the clock goes on while a run the tick fires shows a message.
void frmSelect::Timer1_Timer()
{
    armClock();
    m_tick = m_platform.clock.now();
    ui.lblTimer->setCaption(timeText(m_tick.time()));
    ui.lblDate->setText(dateText(m_tick.date()));
}

// The clock ticks just after each wall-clock second, re-armed at every tick from a fresh reading,
// so that it neither drifts past a second nor shows one twice. A coarse timer may fire some
// milliseconds early, inside the second already shown.
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
    notify(tick.saved);
    if (tick.runDue)
        Command1_Click();
}
