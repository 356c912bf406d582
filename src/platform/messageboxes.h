// Message boxes without an icon, captioned with the application title.
#pragma once

#include <QString>

class MessageBoxes
{
  public:
    virtual ~MessageBoxes() = default;
    // A text with an OK button; returns when the user has closed it.
    virtual void inform(const QString &text) = 0;
    // A text with OK and Cancel; true for OK. Closing the box counts as Cancel.
    virtual bool confirm(const QString &text) = 0;
};

class QtMessageBoxes final : public MessageBoxes
{
  public:
    explicit QtMessageBoxes(QString title) : m_title(std::move(title)) {}
    void inform(const QString &text) override;
    bool confirm(const QString &text) override;

  private:
    QString m_title;
};
