// Stand-ins for the clock, message boxes, program start and drives.
#pragma once

#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/messageboxes.h"
#include "platform/programstarter.h"

#include <QQueue>
#include <QStringList>

#include <functional>

// Each reading may move the clock on, as a real clock does between two readings.
class FakeClock final : public Clock
{
  public:
    QDateTime now() const override
    {
        const QDateTime reading = m_now;
        m_now = m_now.addMSecs(stepPerReading);
        return reading;
    }
    void set(const QDateTime &now) { m_now = now; }

    qint64 stepPerReading = 0; // milliseconds

  private:
    mutable QDateTime m_now{QDate(2026, 3, 5), QTime(9, 0)};
};

class FakeMessageBoxes final : public MessageBoxes
{
  public:
    void inform(const QString &text) override
    {
        shown.append(text);
        if (whileShown)
            whileShown();
    }
    bool confirm(const QString &text) override
    {
        inform(text);
        return answers.isEmpty() ? false : answers.dequeue();
    }
    void notify(const QString &text) override
    {
        shown.append(text);
        notices.append(text);
    }

    QStringList shown;    // every text, in order
    QStringList notices;  // the texts of notify(), which waits for nobody
    QQueue<bool> answers; // answers to confirm(); Cancel when empty
    // What happens while a box that waits for the user is open, such as a tick of the clock.
    std::function<void()> whileShown;
};

class FakeProgramStarter final : public ProgramStarter
{
  public:
    Outcome startCopy(const ProgramStart &copy) override { return take(copy, copies); }
    Outcome start(const ProgramStart &program) override { return take(program, started); }
    Outcome open(const QString &document) override
    {
        return take({QString(), document, {}}, opened);
    }

    QList<ProgramStart> copies;  // in the order started
    QList<ProgramStart> started; // other programs
    QList<ProgramStart> opened;  // documents, each as its program
    // Returns the failure reason for a start (a document comes as its program), or an empty text
    // to let it start.
    std::function<QString(const ProgramStart &)> failure;

  private:
    Outcome take(const ProgramStart &request, QList<ProgramStart> &into)
    {
        if (QString reason = failure ? failure(request) : QString(); !reason.isEmpty())
            return Outcome::failed(reason);
        into.append(request);
        return Outcome::done();
    }
};

class FakeDrives final : public Drives
{
  public:
    QList<Drive> list() const override { return drives; }
    QList<Drive> drives{{QStringLiteral("/"), QStringLiteral("/")}};
};
