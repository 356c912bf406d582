// The start-up restore: with the automatic mode on, the saved pairs and schedule are put back on
// the window and the schedule is activated again.
#include "frmselect.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace {
// Selects the entry with exactly this text, or none when the list has no such entry.
void selectEntry(QComboBox *list, const QString &text)
{
    list->setCurrentIndex(text.isEmpty() ? -1 : list->findText(text));
}
} // namespace

void frmSelect::Form_Initialize()
{
    if (!m_schedule.restore())
        return;
    ui.ckUseTimer->setChecked(true);

    // A pair comes back locked when its To folder was saved, whatever its From folder was.
    for (FolderPair pair : FolderPair::all()) {
        const SavedPairs::Folders saved = m_savedPairs.newest(pair);
        ui.fromBox(pair)->setText(saved.from.value_or(QString()));
        ui.toBox(pair)->setText(saved.to.value_or(QString()));
        if (saved.to)
            ui.lockBox(pair)->setChecked(true);
    }
    selectEntry(ui.cmbDays, m_schedule.interval());
    selectEntry(ui.Combo1, m_schedule.timeOfDay());
    showNextCopyDate(m_schedule.nextCopyDate());
    cmdActivateAS2();
}
