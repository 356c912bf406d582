#include "schedule.h"

#include "common/textforms.h"
#include "nextcopydate.h"
#include "pairs/folderpairs.h"
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

QDate storedDateOf(const SettingsStore::Read &read)
{
    return dateFromStored(read.value().value_or(QString()));
}

} // namespace

Outcome Schedule::restore()
{
    const SettingsStore::Read savedNext = m_store.ReadField(Table::Date);
    m_savedNext = storedDateOf(savedNext);
    const QDate today = m_clock.now().date();
    Outcome restored =
        savedNext.outcome()
            .andThen([&] { return m_store.SeedIfEmpty(Table::AutoSync, kFlagOff); })
            .andThen([&] { return m_store.KeepNewestRecord(Table::AutoSync); })
            .andThen(
                [&] { return m_store.SeedIfEmpty(Table::Time, QStringLiteral("12:01:00 AM")); })
            .andThen([&] { return m_store.KeepNewestRecord(Table::Time); })
            .andThen([&] { return m_store.ReplaceRecord(Table::Date, storedDate(today)); })
            .andThen([&] { return m_store.SeedIfEmpty(Table::Days, QStringLiteral("1")); })
            .andThen([&] { return m_store.KeepNewestRecord(Table::Days); });

    const SettingsStore::Read flag = m_store.ReadField(Table::AutoSync);
    const SettingsStore::Read days = m_store.ReadField(Table::Days);
    const SettingsStore::Read time = m_store.ReadField(Table::Time);
    restored = restored.also(flag.outcome()).also(days.outcome()).also(time.outcome());
    if (flag.value() != kFlagOn)
        return restored;
    m_next = today;
    m_interval = entryOf(dayEntries(), days.value());
    m_timeOfDay = entryOf(timeEntries(), time.value());
    return restored.also(switchAutomatic(true));
}

Outcome Schedule::switchAutomatic(bool on)
{
    m_automatic = on;
    return m_store.ReplaceRecord(Table::AutoSync, on ? kFlagOn : kFlagOff).andThen([&] {
        return on ? m_store.AppendRecord(Table::Date, storedDate(m_clock.now().date()))
                  : Outcome::done();
    });
}

void Schedule::chooseInterval(const QString &entry)
{
    m_interval = entryOf(dayEntries(), entry);
}

void Schedule::chooseTimeOfDay(const QString &entry)
{
    m_timeOfDay = entryOf(timeEntries(), entry);
}

Schedule::Activation Schedule::activate(FolderPairs &pairs, ActivatedBy by)
{
    const QDateTime now = m_clock.now();
    if (!pairs.anyLocked())
        return {Refusal::NoPairLocked};
    if (!pairs.anyPathEntered())
        return {Refusal::NoPathEntered};
    const std::optional<int> days = intervalDays(m_interval);
    const QTime chosen = timeFromText(m_timeOfDay);
    if (!days || !chosen.isValid() || !m_automatic)
        return {Refusal::NoIntervalOrTime};

    const QDate next = by == ActivatedBy::Button ? activationDate(now, chosen, *days)
                                                 : restartDate(m_savedNext, now, chosen, *days);
    const Outcome saved = m_store.together([&] {
        return m_store.ReplaceRecord(Table::Date, storedDate(next))
            .andThen([&] { return m_store.AppendRecord(Table::Days, m_interval); })
            .andThen([&] { return m_store.AppendRecord(Table::Time, m_timeOfDay); });
    });
    if (!saved.ok())
        return {Refusal::NotSaved, saved};
    m_next = next;
    m_active = true;
    m_ranOn = QDate();
    if (by == ActivatedBy::Restart)
        return {};

    Outcome lockedAgain = Outcome::done();
    for (FolderPair pair : FolderPair::all()) {
        if (pairs[pair].locked)
            lockedAgain = lockedAgain.also(pairs.lock(pair));
    }
    if (const QString unsaved = m_store.unsavedReason(); !unsaved.isEmpty()) {
        return {std::nullopt,
                Outcome::failed(QStringLiteral("Your Auto-XCopy settings could not be recorded "
                                               "in the settings database %1: %2. Your folders "
                                               "will XCopy at the date and time you have set "
                                               "while the program runs.")
                                    .arg(m_store.path(), unsaved))};
    }
    return {std::nullopt, lockedAgain};
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

Outcome Schedule::stop()
{
    m_active = false;
    return switchAutomatic(false).also(m_store.DBDelete());
}

Schedule::Tick Schedule::tick(const QDateTime &now)
{
    Tick tick;
    if (!m_active || !m_next)
        return tick;
    // A date that went by without a run (the program was not running, the machine slept, the
    // clock jumped) would otherwise leave the schedule in the past for good.
    const QDate today = now.date();
    if (const std::optional<int> days = intervalDays(m_interval); days && *m_next < today) {
        m_next = dateAfterMissedRuns(*m_next, today, *days);
        tick.saved = m_store.ReplaceRecord(Table::Date, storedDate(*m_next));
        tick.dateMoved = true;
    }
    // At or after the chosen time rather than at its exact second: a late tick, a machine that
    // woke later that day or an hour that daylight saving skips still gets the day's run.
    const QTime chosen = timeFromText(m_timeOfDay);
    tick.runDue = *m_next == today && chosen.isValid() && now.time() >= chosen && m_ranOn != today;
    if (tick.runDue)
        m_ranOn = today;
    return tick;
}

Result<std::optional<QDate>> Schedule::afterRun()
{
    // The date moves on from the stored one, not from today, so that a run fired on that date
    // moves it exactly one interval. Without a stored date or an interval it stays as it is.
    Outcome moved = Outcome::done();
    if (m_automatic) {
        const std::optional<int> days = intervalDays(m_interval);
        const SettingsStore::Read stored = m_store.ReadField(Table::Date);
        const QDate storedNext = storedDateOf(stored);
        moved = stored.outcome().andThen([&] {
            return days && storedNext.isValid()
                       ? m_store.AppendRecord(Table::Date, storedDate(storedNext.addDays(*days)))
                       : Outcome::done();
        });
    }
    moved = moved.also(m_store.KeepNewestRecord(Table::Date));
    if (!moved.ok())
        return moved;
    if (!m_automatic)
        return std::optional<QDate>();
    const SettingsStore::Read kept = m_store.ReadField(Table::Date);
    const QDate next = storedDateOf(kept);
    if (!kept.outcome().ok())
        return kept.outcome();
    if (!next.isValid())
        return std::optional<QDate>();
    m_next = next;
    return std::optional(next);
}
