// Message boxes without an icon, captioned with the application title.
#pragma once

#include <QPointer>
#include <QString>

class QMessageBox;

class MessageBoxes
{
  public:
    virtual ~MessageBoxes() = default;
    // A text with an OK button; returns when the user has closed it.
    virtual void inform(const QString &text) = 0;
    // A text with OK and Cancel; true for OK. Closing the box counts as Cancel.
    virtual bool confirm(const QString &text) = 0;
    // A text with an OK button that waits for nobody: runs nobody watches report through it, so
    // that they and the clock go on. At most one is open; a new text is added below the one it
    // shows.
    virtual void notify(const QString &text) = 0;
};

class QtMessageBoxes final : public MessageBoxes
{
  public:
    explicit QtMessageBoxes(QString title) : m_title(std::move(title)) {}
    ~QtMessageBoxes() override;
    void inform(const QString &text) override;
    bool confirm(const QString &text) override;
    void notify(const QString &text) override;

  private:
    QString m_title;
    QPointer<QMessageBox> m_notice;
};
