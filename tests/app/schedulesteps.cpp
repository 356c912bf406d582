#include "schedulesteps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace steps {

void activate(WindowFixture &f, const QString &days, const QString &time, bool press)
{
    f.find<QLineEdit>(QStringLiteral("Text1"))->setText(kFrom);
    f.find<QLineEdit>(QStringLiteral("Text2"))->setText(QStringLiteral("/backup/to"));
    f.find<QCheckBox>(QStringLiteral("Check1"))->setChecked(true);
    f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->setChecked(true);
    f.find<QComboBox>(QStringLiteral("cmbDays"))->setCurrentText(days);
    f.find<QComboBox>(QStringLiteral("Combo1"))->setCurrentText(time);
    if (press)
        f.find<QPushButton>(QStringLiteral("cmdActivateAS"))->click();
}

void tickThrough(WindowFixture &f, const QDateTime &from, const QDateTime &to)
{
    for (QDateTime second = from; second <= to; second = second.addSecs(1)) {
        f.clock.set(second);
        f.window().Timer1_Timer();
    }
}

bool listsLocked(const WindowFixture &f)
{
    bool locked = true;
    for (const char *name : {"cmbDays", "Combo1"}) {
        auto *list = f.find<QComboBox>(QLatin1String(name));
        const int before = list->currentIndex();
        QTest::keyClick(list, before > 0 ? Qt::Key_Up : Qt::Key_Down);
        locked = locked && list->currentIndex() == before;
        list->setCurrentIndex(before);
    }
    return locked;
}

} // namespace steps
