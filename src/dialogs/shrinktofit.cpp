#include "shrinktofit.h"

#include <QLabel>

namespace {
constexpr qreal kSmallestPointSize = 6;
}

void shrinkToFit(QLabel *label)
{
    const QRect box = label->contentsRect();
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    QFont font = label->font();
    const auto fits = [&] {
        const QRect needed = QFontMetrics(font).boundingRect(
            QRect(box.topLeft(), QSize(box.width(), QWIDGETSIZE_MAX)), flags, label->text());
        return needed.width() <= box.width() && needed.height() <= box.height();
    };
    while (font.pointSizeF() > kSmallestPointSize && !fits())
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
}
