#include "drawnicons.h"

#include <QPainter>
#include <QPixmap>

QImage drawnImage(int size, const std::function<void(QPainter &)> &draw)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    draw(painter);
    return image;
}

QIcon drawnIcon(const std::function<void(QPainter &)> &draw)
{
    QIcon icon;
    for (int size : {16, 32})
        icon.addPixmap(QPixmap::fromImage(drawnImage(size, draw)));
    return icon;
}

void drawFolder(QPainter &painter, bool open)
{
    painter.setPen(QPen(QColor(0x80, 0x60, 0x10), 1.0));
    painter.setBrush(QColor(0xE8, 0xB8, 0x30));
    painter.drawRect(QRectF(2.5, 5.5, 11, 5));  // tab
    painter.drawRect(QRectF(2.5, 8.5, 27, 19)); // folder
    if (open) {
        painter.setBrush(QColor(0xF4, 0xD0, 0x60));
        painter.drawPolygon(QPolygonF{{6.5, 13.5}, {31.0, 13.5}, {29.5, 27.5}, {2.5, 27.5}});
    }
}

QIcon folderIcon(bool open)
{
    return drawnIcon([open](QPainter &painter) { drawFolder(painter, open); });
}

QIcon overflowArrowIcon()
{
    return drawnIcon([](QPainter &painter) {
        painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 3.0));
        painter.drawPolyline(QPolygonF{{8, 8}, {16, 16}, {8, 24}});
        painter.drawPolyline(QPolygonF{{17, 8}, {25, 16}, {17, 24}});
    });
}
