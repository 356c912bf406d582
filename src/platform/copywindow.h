// The window a copy runs in, where a console would show it: the copy's output as it comes, and
// at the end what happened.
#pragma once

#include <QTextCharFormat>
#include <QWidget>

class QPlainTextEdit;

class CopyWindow final : public QWidget
{
    Q_OBJECT
  public:
    // The view keeps only the last lines, so that a copy of a million files stays light.
    static constexpr int kLineLimit = 10000;

    // A top-level window of its own, discarded when it closes.
    explicit CopyWindow(const QString &title);

    // Complete lines joined by line ends. Failure lines, from the error output, stand out.
    void addLines(const QString &lines, bool failure);
    // The last line. A copy that went wrong shows its window un-minimized, on top.
    void showEnding(const QString &words, bool wentWrong);

  signals:
    void closing();

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    void append(const QString &lines, const QTextCharFormat &format);

    QPlainTextEdit *m_view;
    bool m_empty = true;
    QTextCharFormat m_failureFormat;
};
