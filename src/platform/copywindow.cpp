#include "copywindow.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

CopyWindow::CopyWindow(const QString &title) : m_view(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("CopyWindow"));
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);

    m_view->setObjectName(QStringLiteral("output"));
    m_view->setReadOnly(true);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_view->setMaximumBlockCount(kLineLimit);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins({});
    layout->addWidget(m_view);
    resize(760, 360);

    m_failureFormat.setForeground(QColor(0xC0, 0, 0));
    // Ctrl+W, for a desktop without a window manager's close button too.
    new QShortcut(QKeySequence::Close, this, this, &QWidget::close);
}

void CopyWindow::addLines(const QString &lines, bool failure)
{
    append(lines, failure ? m_failureFormat : QTextCharFormat());
}

void CopyWindow::showEnding(const QString &words, bool wentWrong)
{
    QTextCharFormat format = wentWrong ? m_failureFormat : QTextCharFormat();
    format.setFontWeight(QFont::Bold);
    append(words, format);
    if (wentWrong) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        raise();
        activateWindow();
    }
}

void CopyWindow::closeEvent(QCloseEvent *event)
{
    emit closing();
    QWidget::closeEvent(event);
}

void CopyWindow::append(const QString &lines, const QTextCharFormat &format)
{
    // The view follows the output unless the user has scrolled up to read.
    QScrollBar *scrollBar = m_view->verticalScrollBar();
    const bool following = scrollBar->value() == scrollBar->maximum();
    QTextCursor end(m_view->document());
    end.movePosition(QTextCursor::End);
    if (!m_empty)
        end.insertBlock();
    end.insertText(lines, format);
    m_empty = false;
    if (following)
        scrollBar->setValue(scrollBar->maximum());
}
