// The start-up restore: with the automatic mode on, the saved pairs and schedule are put back
// and drawn on the window, and the schedule is activated again.
#include "frmselect.h"

#include <QCheckBox>
#include <QComboBox>

namespace {
// Selects the entry with exactly this text, or none when the list has no such entry.
void selectEntry(QComboBox *list, const QString &text)
{
    list->setCurrentIndex(text.isEmpty() ? -1 : list->findText(text));
}
} // namespace

void frmSelect::Form_Initialize()
{
    Outcome restored = m_schedule.restore();
    if (m_schedule.automatic()) {
        restored = restored.also(m_pairs.restore());
        drawAutomaticBox();
        for (FolderPair pair : FolderPair::all()) {
            drawPair(pair);
            if (m_pairs[pair].locked)
                drawLock(pair);
        }
        selectEntry(ui.cmbDays, m_schedule.interval());
        selectEntry(ui.Combo1, m_schedule.timeOfDay());
        showNextCopyDate(m_schedule.nextCopyDate());
    }
    report(restored);
    if (m_schedule.automatic())
        cmdActivateAS2();
}
