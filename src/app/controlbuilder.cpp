#include "controlbuilder.h"

#include "pairs/drivelist.h"
#include "pairs/filelist.h"
#include "pairs/folderlist.h"
#include "platform/captionlabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

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

QWidget *create(const ControlSpec &spec, QWidget *client)
{
    const QString caption = QString::fromUtf8(spec.caption);
    switch (spec.kind) {
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

void shrinkToFit(QLabel *label)
{
    constexpr qreal kSmallestPointSize = 6;
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

void shrinkToWidth(QWidget *control, const QStringList &texts, int room)
{
    constexpr qreal kSmallestPointSize = 6;
    QFont font = control->font();
    const auto widest = [&] {
        int width = 0;
        for (const QString &text : texts)
            width = std::max(width, QFontMetrics(font).horizontalAdvance(text));
        return width;
    };
    while (font.pointSizeF() > kSmallestPointSize && widest() > control->width() - room)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    control->setFont(font);
}

void buildControls(QWidget *client, std::span<const ControlSpec> controls)
{
    for (const ControlSpec &spec : controls) {
        QWidget *widget = create(spec, client);
        widget->setObjectName(QLatin1String(spec.name));
        widget->setGeometry(twipsToPixels(spec.left, spec.top, spec.width, spec.height));
        if (spec.textColour)
            setTextColour(widget, *spec.textColour);
        widget->setHidden(!spec.shown);
        if (spec.kind == ControlKind::Label)
            shrinkToFit(static_cast<QLabel *>(widget));
        if (spec.kind == ControlKind::Button)
            shrinkToWidth(widget, {QString::fromUtf8(spec.caption).remove(QLatin1Char('&'))},
                          kButtonRoom);
    }
}

void buildLines(QWidget *client, std::span<const LineSpec> lines)
{
    for (const LineSpec &spec : lines) {
        const QLine line(twipsToPixels(spec.x1), twipsToPixels(spec.y1), twipsToPixels(spec.x2),
                         twipsToPixels(spec.y2));
        auto *widget = new LineControl(line, spec.colour, client);
        widget->setObjectName(QLatin1String(spec.name));
    }
}
