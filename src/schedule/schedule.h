// The automatic mode: whether it is switched on and active, its interval, its time of day and
// its next copy date. It keeps the settings database in step with them and answers the window's
// questions; the window only shows what it says.
#pragma once

#include "common/outcome.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

class Clock;
class FolderPairs;
class SettingsStore;

class Schedule final
{
  public:
    Schedule(SettingsStore &store, const Clock &clock) : m_store(store), m_clock(clock) {}

    bool automatic() const { return m_automatic; }    // the automatic mode is switched on
    bool active() const { return m_active; }          // activated and not stopped since
    QString interval() const { return m_interval; }   // an entry of the interval list, or empty
    QString timeOfDay() const { return m_timeOfDay; } // an entry of the time list, or empty
    std::optional<QDate> nextCopyDate() const { return m_next; }

    // At start-up: brings the schedule tables to one record each, takes the saved interval and
    // time of day and, when the automatic mode was on when the program last ran, switches it on
    // again. The schedule is then activated again by activate(ActivatedBy::Restart).
    Outcome restore();

    Outcome switchAutomatic(bool on);
    // The user's picks in the two lists; a text that is no entry of its list counts as none.
    void chooseInterval(const QString &entry);
    void chooseTimeOfDay(const QString &entry);

    enum class Refusal {
        NoPairLocked,
        NoPathEntered,
        NoIntervalOrTime,
        NotSaved,
    };
    enum class ActivatedBy {
        Button,  // the next copy date is worked out from now, and the locked pairs saved again
        Restart, // the saved next copy date is kept as far as it still lies ahead
    };
    struct Activation
    {
        std::optional<Refusal> refusal; // nothing changed
        // Why the schedule is not saved (with NotSaved), or not saved for good: it then holds
        // while the program runs. Also a failure to save the locked pairs again.
        Outcome saved = Outcome::done();
    };
    Activation activate(FolderPairs &pairs, ActivatedBy by);
    static QString message(Refusal refusal);

    // Erases every saved setting; the schedule then starts nothing.
    Outcome stop();

    struct Tick
    {
        bool runDue = false;    // the chosen time of the next copy date has come
        bool dateMoved = false; // a date that went by without a run moved on
        Outcome saved = Outcome::done();
    };
    // A due run is due once: at the first tick at or after the chosen time on the next copy date.
    Tick tick(const QDateTime &now);

    // After a copy run: with the automatic mode on, the next copy date moves on by one interval
    // from the stored one and is returned to be shown.
    Result<std::optional<QDate>> afterRun();

  private:
    SettingsStore &m_store;
    const Clock &m_clock;
    bool m_automatic = false;
    bool m_active = false;
    QString m_interval;
    QString m_timeOfDay;
    std::optional<QDate> m_next;
    QDate m_savedNext; // as stored when the program started; invalid when there was none
    QDate m_ranOn;     // the next copy date whose run has been fired
};
