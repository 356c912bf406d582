// The run notice: tells the user that a copy run started its commands, and when.
#pragma once

#include <QWidget>

class Clock;

class frmXcopyNotify final : public QWidget
{
    Q_OBJECT
  public:
    // A top-level window of its own that is discarded when it closes. It shows the moment it
    // was created, read from the clock.
    explicit frmXcopyNotify(const Clock &clock);

    void Form_Load();
    void Command1_Click();

  private:
    const Clock &m_clock;
};
