// A label that reports a change of its caption at once, inside the call that set it. Setting
// the same text again reports nothing.
#pragma once

#include <QLabel>

class CaptionLabel final : public QLabel
{
    Q_OBJECT
  public:
    using QLabel::QLabel;

    void setCaption(const QString &caption)
    {
        if (caption == text())
            return;
        setText(caption);
        emit captionChanged();
    }

  signals:
    void captionChanged();
};
