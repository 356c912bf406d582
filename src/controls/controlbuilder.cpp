#include "controlbuilder.h"

#include "controls/captionlabel.h"
#include "controls/drivelist.h"
#include "controls/filelist.h"
#include "controls/folderlist.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include <cmath>
#include <functional>

namespace {

// A straight line drawn between two points of the client area.
class LineControl final : public QWidget
{
  public:
    LineControl(const QLine &line, QRgb colour, QWidget *parent) : QWidget(parent), m_colour(colour)
    {
        const QRect bounds = QRect(line.p1(), line.p2()).normalized().adjusted(0, 0, 1, 1);
        setGeometry(bounds);
        m_line = line.translated(-bounds.topLeft());
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

  protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(QColor::fromRgb(m_colour));
        painter.drawLine(m_line);
    }

  private:
    QLine m_line;
    QRgb m_colour;
};

QWidget *create(const ControlEntry &entry, QWidget *client)
{
    const QString caption = QString::fromUtf8(entry.caption);
    switch (entry.kind) {
    case ControlKind::Label: {
        auto *label = new QLabel(caption, client);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::CaptionLabel:
        return new CaptionLabel(caption, client);
    case ControlKind::TextBox:
        return new QLineEdit(caption, client);
    case ControlKind::CheckBox:
        return new QCheckBox(caption, client);
    case ControlKind::Button:
        return new QPushButton(caption, client);
    case ControlKind::DropDownList:
        return new QComboBox(client);
    case ControlKind::DriveList:
        return new DriveList(client);
    case ControlKind::FolderList:
        return new FolderList(client);
    case ControlKind::FileList:
        return new FileList(client);
    case ControlKind::PictureBox:
        return new QLabel(client);
    }
    Q_UNREACHABLE();
}

} // namespace

int twipsToPixels(int twips)
{
    return (twips + 7) / 15;
}

QRect twipsToPixels(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

void setTextColour(QWidget *control, QRgb colour)
{
    QPalette palette = control->palette();
    const QColor text = QColor::fromRgb(colour);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, text);
    control->setPalette(palette);
}

namespace {

// Makes a control's font smaller until what it shows fits its box. The first smaller size is
// guessed from the overflow and sizes go in whole points, so that only a few sizes are tried:
// each new size is a font look-up.
void fitFont(QWidget *control, const QSize &box, bool wraps,
             const std::function<QSize(const QFontMetrics &)> &needed)
{
    constexpr qreal kSmallestPointSize = 6;
    QFont font = control->font();
    const auto fits = [&] {
        const QSize size = needed(QFontMetrics(font));
        return size.width() <= box.width() && size.height() <= box.height();
    };
    if (box.isEmpty() || fits())
        return;
    const QSize size = needed(QFontMetrics(font));
    const qreal overflow =
        std::max(qreal(size.width()) / box.width(), qreal(size.height()) / box.height());
    // Wrapped text shrinks in both directions as the font does.
    const qreal scale = wraps ? std::sqrt(overflow) : overflow;
    font.setPointSizeF(std::max(kSmallestPointSize, std::floor(font.pointSizeF() / scale)));
    while (font.pointSizeF() > kSmallestPointSize && !fits())
        font.setPointSizeF(font.pointSizeF() - 1);
    control->setFont(font);
}

} // namespace

void shrinkToFit(QLabel *label)
{
    const QRect box = label->contentsRect();
    // Most texts fit on one line; only the others need the wrapping layout measured.
    const QFontMetrics metrics = label->fontMetrics();
    if (metrics.horizontalAdvance(label->text()) <= box.width() && metrics.height() <= box.height())
        return;
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    fitFont(label, box.size(), label->wordWrap(), [&](const QFontMetrics &metrics) {
        return metrics.boundingRect(QRect(0, 0, box.width(), QWIDGETSIZE_MAX), flags, label->text())
            .size();
    });
}

void shrinkToWidth(QWidget *control, const QStringList &texts, int room)
{
    fitFont(control, QSize(control->width() - room, QWIDGETSIZE_MAX), false,
            [&](const QFontMetrics &metrics) {
                int width = 0;
                for (const QString &text : texts)
                    width = std::max(width, metrics.horizontalAdvance(text));
                return QSize(width, 0);
            });
}

void buildControls(QWidget *client, std::span<const ControlEntry> controls)
{
    for (const ControlEntry &entry : controls) {
        QWidget *widget = create(entry, client);
        widget->setObjectName(QLatin1String(entry.name));
        widget->setGeometry(twipsToPixels(entry.left, entry.top, entry.width, entry.height));
        if (entry.textColour)
            setTextColour(widget, *entry.textColour);
        widget->setHidden(!entry.shown);
        if (entry.kind == ControlKind::Label)
            shrinkToFit(static_cast<QLabel *>(widget));
        if (entry.kind == ControlKind::Button)
            shrinkToWidth(widget, {QString::fromUtf8(entry.caption).remove(QLatin1Char('&'))},
                          kButtonRoom);
    }
}

void buildLines(QWidget *client, std::span<const LineEntry> lines)
{
    for (const LineEntry &entry : lines) {
        const QLine line(twipsToPixels(entry.x1), twipsToPixels(entry.y1), twipsToPixels(entry.x2),
                         twipsToPixels(entry.y2));
        auto *widget = new LineControl(line, entry.colour, client);
        widget->setObjectName(QLatin1String(entry.name));
    }
}
