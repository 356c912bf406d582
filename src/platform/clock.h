// The system clock, behind an interface so that tests can drive whole days in milliseconds.
#pragma once

#include <QDateTime>

class Clock
{
  public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock
{
  public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
