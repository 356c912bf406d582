// The start-up restore: the schedule tables brought into shape and, with the automatic mode on,
// the saved pairs and schedule put back and activated again.
#include "frmselect.h"
#include "platform/clock.h"
#include "store/settingsstore.h"
#include "textforms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace {
const QString kFlagOn = QStringLiteral("1");

// Selects the entry with exactly this text, or none when the list has no such entry.
void selectEntry(QComboBox *list, const std::optional<QString> &text)
{
    list->setCurrentIndex(text ? list->findText(*text) : -1);
}
} // namespace

void frmSelect::Form_Initialize()
{
    SettingsStore &store = m_platform.store;
    store.SeedIfEmpty(Table::AutoSync, QStringLiteral("0"));
    store.KeepNewestRecord(Table::AutoSync);
    store.SeedIfEmpty(Table::Time, QStringLiteral("12:01:00 AM"));
    store.KeepNewestRecord(Table::Time);
    store.ReplaceRecord(Table::Date, storedDate(m_platform.clock.now().date()));
    store.SeedIfEmpty(Table::Days, QStringLiteral("1"));
    store.KeepNewestRecord(Table::Days);

    if (store.ReadField(Table::AutoSync) != kFlagOn)
        return;
    ui.ckUseTimer->setChecked(true);

    // The newest records: a pair locked again with other folders comes back with those.
    for (int pair = 1; pair <= 7; ++pair) {
        const std::optional<QString> from = store.ReadNewestField(pathTable(2 * pair - 1));
        ui.fromBox(pair)->setText(from.value_or(QString()));
        const std::optional<QString> to = store.ReadNewestField(pathTable(2 * pair));
        ui.toBox(pair)->setText(to.value_or(QString()));
        if (to)
            ui.lockBox(pair)->setChecked(true);
    }
    selectEntry(ui.cmbDays, store.ReadField(Table::Days));
    selectEntry(ui.Combo1, store.ReadField(Table::Time));
    showNextCopyDate();
    cmdActivateAS2();
}
