#include "windowfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

WindowFixture::WindowFixture()
{
    drives.drives = {{QStringLiteral("/"), QStringLiteral("/")}};
}

WindowFixture::~WindowFixture()
{
    delete m_window;
}

frmSelect &WindowFixture::open()
{
    m_window =
        new frmSelect({database.store(), clock, messages, programs, drives, installFolder.path()});
    return *m_window;
}

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

void WindowFixture::type(const QString &box, const QString &text) const
{
    typeInto(find<QLineEdit>(box), text);
}

void WindowFixture::click(const QString &checkBox) const
{
    find<QCheckBox>(checkBox)->click();
}

void WindowFixture::pick(const QString &list, const QString &entry) const
{
    pickEntry(find<QComboBox>(list), entry);
}
