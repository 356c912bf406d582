#include "appicon.h"

#include "controls/drawnicons.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// The same shapes stand in packaging/linux/revuredaveze.svg.
void drawApplicationIcon(QPainter &painter)
{
    drawFolder(painter, false);
    QPainterPath arrow;
    arrow.moveTo(7, 16);
    arrow.lineTo(17, 16);
    arrow.lineTo(17, 11);
    arrow.lineTo(26, 18);
    arrow.lineTo(17, 25);
    arrow.lineTo(17, 20);
    arrow.lineTo(7, 20);
    arrow.closeSubpath();
    painter.setPen(QPen(QColor(0x00, 0x40, 0x00), 1.0));
    painter.setBrush(QColor(0x00, 0x80, 0x00));
    painter.drawPath(arrow);
}

} // namespace

QImage iconImage(int size)
{
    return drawnImage(size, drawApplicationIcon);
}

QIcon applicationIcon()
{
    return drawnIcon(drawApplicationIcon);
}
