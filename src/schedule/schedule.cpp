#include "schedule.h"

#include "common/textforms.h"
#include "nextcopydate.h"
#include "platform/clock.h"
#include "schedulelists.h"
#include "store/settingsstore.h"

namespace {

const QString kFlagOn = QStringLiteral("1");
const QString kFlagOff = QStringLiteral("0");

QString entryOf(const QStringList &entries, const std::optional<QString> &text)
{
    return text && entries.contains(*text) ? *text : QString();
}

} // namespace

bool Schedule::restore()
{
    m_savedNext = dateFromStored(m_store.ReadField(Table::Date).value_or(QString()));
    m_store.SeedIfEmpty(Table::AutoSync, kFlagOff);
    m_store.KeepNewestRecord(Table::AutoSync);
    m_store.SeedIfEmpty(Table::Time, QStringLiteral("12:01:00 AM"));
    m_store.KeepNewestRecord(Table::Time);
    const QDate today = m_clock.now().date();
    m_store.ReplaceRecord(Table::Date, storedDate(today));
    m_store.SeedIfEmpty(Table::Days, QStringLiteral("1"));
    m_store.KeepNewestRecord(Table::Days);

    if (m_store.ReadField(Table::AutoSync) != kFlagOn)
        return false;
    m_next = today;
    m_interval = entryOf(dayEntries(), m_store.ReadField(Table::Days));
    m_timeOfDay = entryOf(timeEntries(), m_store.ReadField(Table::Time));
    return true;
}

void Schedule::switchAutomatic(bool on)
{
    m_automatic = on;
    m_store.ReplaceRecord(Table::AutoSync, on ? kFlagOn : kFlagOff);
    if (on)
        m_store.AppendRecord(Table::Date, storedDate(m_clock.now().date()));
}

void Schedule::chooseInterval(const QString &entry)
{
    m_interval = entryOf(dayEntries(), entry);
}

void Schedule::chooseTimeOfDay(const QString &entry)
{
    m_timeOfDay = entryOf(timeEntries(), entry);
}

std::optional<Schedule::Refusal> Schedule::activate(const PairEntries &pairs, ActivatedBy by)
{
    const QDateTime now = m_clock.now();
    if (!pairs.anyLocked())
        return Refusal::NoPairLocked;
    if (!pairs.anyPathEntered())
        return Refusal::NoPathEntered;
    const std::optional<int> days = intervalDays(m_interval);
    const QTime chosen = timeFromText(m_timeOfDay);
    if (!days || !chosen.isValid() || !m_automatic)
        return Refusal::NoIntervalOrTime;

    const QDate next = by == ActivatedBy::Button ? activationDate(now, chosen, *days)
                                                 : restartDate(m_savedNext, now, chosen, *days);
    const bool saved = m_store.together([&] {
        return m_store.ReplaceRecord(Table::Date, storedDate(next)) &&
               m_store.AppendRecord(Table::Days, m_interval) &&
               m_store.AppendRecord(Table::Time, m_timeOfDay);
    });
    if (!saved)
        return Refusal::NotSaved;
    m_next = next;
    m_active = true;
    return std::nullopt;
}

QString Schedule::message(Refusal refusal)
{
    switch (refusal) {
    case Refusal::NoPairLocked:
        return kNothingToCopyText;
    case Refusal::NoPathEntered:
        return QStringLiteral("You cannot XCopy unless at least 1 set of paths have been entered "
                              "and locked in by checking the box next to the paths.");
    case Refusal::NoIntervalOrTime:
        return QStringLiteral("Please make sure the Days Time fields are entered before "
                              "proceeding.");
    case Refusal::NotSaved:
        break;
    }
    return {};
}

void Schedule::stop()
{
    m_active = false;
    m_store.DBDelete();
}

Schedule::Tick Schedule::tick(const QDateTime &now)
{
    Tick tick;
    if (!m_active || !m_next)
        return tick;
    // A run whose second went by unseen (the program was not running, the machine slept, the
    // clock jumped) would otherwise leave the date in the past for good.
    const QDate today = now.date();
    if (const std::optional<int> days = intervalDays(m_interval); days && *m_next < today) {
        m_next = dateAfterMissedRuns(*m_next, today, *days);
        m_store.ReplaceRecord(Table::Date, storedDate(*m_next));
        tick.dateMoved = true;
    }
    tick.runDue = *m_next == today && timeText(now.time()) == m_timeOfDay;
    return tick;
}

std::optional<QDate> Schedule::afterRun()
{
    // The date moves on from the stored one, not from today, so that a run fired on that date
    // moves it exactly one interval. Without a stored date or an interval it stays as it is.
    if (m_automatic) {
        const std::optional<int> days = intervalDays(m_interval);
        const QDate stored = dateFromStored(m_store.ReadField(Table::Date).value_or(QString()));
        if (days && stored.isValid())
            m_store.AppendRecord(Table::Date, storedDate(stored.addDays(*days)));
    }
    m_store.KeepNewestRecord(Table::Date);
    if (!m_automatic)
        return std::nullopt;
    const QDate next = dateFromStored(m_store.ReadField(Table::Date).value_or(QString()));
    if (!next.isValid())
        return std::nullopt;
    m_next = next;
    return next;
}
