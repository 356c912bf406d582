#include "appicon.h"

#include "controls/foldericon.h"

#include <QPainter>
#include <QPainterPath>

// Drawn on a 32-unit grid; the same shapes stand in packaging/linux/revuredaveze.svg.
QImage iconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);

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
    return image;
}

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 32})
        icon.addPixmap(QPixmap::fromImage(iconImage(size)));
    return icon;
}
