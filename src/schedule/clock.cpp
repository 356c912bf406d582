// The clock labels, renewed every second, and the trigger that starts the automatic run.
#include "platform/clock.h"
#include "app/frmselect.h"
#include "app/textforms.h"
#include "nextcopydate.h"
#include "platform/captionlabel.h"
#include "store/settingsstore.h"

#include <QComboBox>
#include <QTimer>

// Both labels show the same instant, also in the last moment before midnight.
void frmSelect::Timer1_Timer()
{
    const QDateTime now = m_platform.clock.now();
    ui.lblTimer->setCaption(timeText(now.time()));
    ui.lblDate->setText(dateText(now.date()));
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

// Runs inside the tick, before the date label is renewed: in the first second after midnight
// that label still shows the day before.
void frmSelect::lblTimer_Change()
{
    if (!scheduleActive())
        return;
    skipMissedRuns();
    if (ui.lblDate->text() == ui.lblNextDate->text() &&
        ui.lblTimer->text() == ui.Combo1->currentText())
        Command1_Click();
}

// A run whose second went by unseen (the program was not running, the machine slept, the clock
// jumped) would otherwise leave the next copy date in the past for good. Today is the clock's
// date: the date label lags one tick behind at midnight.
void frmSelect::skipMissedRuns()
{
    const QDate next = dateFromText(ui.lblNextDate->text());
    const QDate today = m_platform.clock.now().date();
    const std::optional<int> days = intervalDays(ui.cmbDays->currentText());
    if (!next.isValid() || next >= today || !days)
        return;
    const QDate moved = dateAfterMissedRuns(next, today, *days);
    m_platform.store.ReplaceRecord(Table::Date, storedDate(moved));
    ui.lblNextDate->setText(dateText(moved));
}
