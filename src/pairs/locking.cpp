// Locking a pair in: its boxes turn read-only and green and their paths are saved.
#include "app/frmselect.h"

#include "app/controlbuilder.h"
#include "pairs/lockvalue.h"
#include "store/settingsstore.h"

#include <QApplication>
#include <QLineEdit>

namespace {
constexpr QRgb kLockedColour = 0x008000;
}

void frmSelect::lockClick(int pair)
{
    const std::array boxes{ui.fromBox(pair), ui.toBox(pair)};
    const std::array tables{pathTable(2 * pair - 1), pathTable(2 * pair)};

    if (lockValue(ui.lockBox(pair)) == 1) {
        for (QLineEdit *box : boxes)
            box->setReadOnly(true);
        for (QLineEdit *box : boxes)
            setTextColour(box, kLockedColour);
        // A failed append is reported by the store; the pair stays locked on screen.
        for (std::size_t side = 0; side < boxes.size(); ++side) {
            if (const QString text = boxes[side]->text(); !text.isEmpty())
                m_platform.store.AppendRecord(tables[side], text);
        }
    }
    if (lockValue(ui.lockBox(pair)) == 0) {
        for (QLineEdit *box : boxes)
            box->setReadOnly(false);
        const QRgb buttonText = QApplication::palette().color(QPalette::ButtonText).rgb();
        for (QLineEdit *box : boxes)
            setTextColour(box, buttonText);
    }
}
