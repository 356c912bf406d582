#include "platform/clock.h"
#include "app/frmselect.h"
#include "app/textforms.h"
#include "platform/captionlabel.h"

#include <QTimer>

void frmSelect::Timer1_Timer()
{
    ui.lblTimer->setCaption(timeText(m_platform.clock.now().time()));
    ui.lblDate->setText(dateText(m_platform.clock.now().date()));
    armClock();
}

// The clock ticks just after each wall-clock second, re-armed at every tick, so that it neither
// drifts past a second nor shows one twice.
void frmSelect::armClock()
{
    constexpr int kPastTheSecond = 5; // ms
    ui.Timer1->start(1000 - m_platform.clock.now().time().msec() + kPastTheSecond);
}

void frmSelect::lblTimer_Change() {}
