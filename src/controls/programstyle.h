// The look of the program's windows: the desktop's style, but with the menu bar's overflow arrow
// drawn. The stock arrow is read from an image file, and the first image read loads every image
// format plugin, a millisecond the start need not wait for.
#pragma once

#include <QProxyStyle>

class ProgramStyle final : public QProxyStyle
{
  public:
    explicit ProgramStyle(const QString &baseStyle);

    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option,
                       const QWidget *widget) const override;
};
