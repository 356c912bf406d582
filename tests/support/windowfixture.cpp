#include "windowfixture.h"

#include <QTest>

void typeInto(QLineEdit *box, const QString &text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

void pickEntry(QComboBox *list, const QString &entry)
{
    list->setCurrentIndex(list->findText(entry));
    emit list->textActivated(entry);
}
