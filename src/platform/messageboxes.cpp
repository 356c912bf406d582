#include "messageboxes.h"

#include <QMessageBox>

QtMessageBoxes::~QtMessageBoxes()
{
    delete m_notice;
}

void QtMessageBoxes::inform(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, m_title, text, QMessageBox::Ok);
    box.exec();
}

bool QtMessageBoxes::confirm(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, m_title, text, QMessageBox::Ok | QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

void QtMessageBoxes::notify(const QString &text)
{
    if (m_notice) {
        m_notice->setText(m_notice->text() + QStringLiteral("\n\n") + text);
    } else {
        m_notice = new QMessageBox(QMessageBox::NoIcon, m_title, text, QMessageBox::Ok);
        m_notice->setAttribute(Qt::WA_DeleteOnClose);
        m_notice->setModal(false);
    }
    m_notice->show();
    m_notice->raise();
}
