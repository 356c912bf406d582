#include "copyrun.h"

#include "copylauncher.h"
#include "pairs/folderpairs.h"
#include "schedule/schedule.h"

CopyRunReport CopyRun::run()
{
    CopyRunReport report;
    if (!m_pairs.anyLocked() || !m_pairs.anyPathEntered()) {
        report.refused = true;
        return report;
    }
    for (FolderPair pair : FolderPair::all()) {
        if (!m_pairs[pair].locked)
            continue;
        if (const Outcome started = startPair(pair); started.ok())
            report.started.append(pair);
        else
            report.failures.append(started.why());
    }
    const Result<std::optional<QDate>> moved = m_schedule.afterRun();
    report.nextCopyDate = moved.value();
    report.saved = moved.outcome();
    return report;
}

Outcome CopyRun::startPair(FolderPair pair)
{
    return m_launcher.start(pair, m_pairs[pair].from, m_pairs[pair].to);
}
