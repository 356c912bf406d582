#include "frmxcopynotify.h"

#include "common/textforms.h"
#include "controls/controlbuilder.h"
#include "platform/clock.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr QRgb kDarkBlue = 0x0000C0;

// Positions in twips inside the client area. "Label3" and "Label2" are replaced at load.
constexpr ControlEntry kControls[] = {
    {"Label1", ControlKind::Label, "XCopy ran on your selected folders at:", 1080, 240, 4572, 492},
    {"Label3", ControlKind::Label, "Label3", 1200, 960, 1932, 372, true, kDarkBlue},
    {"Label4", ControlKind::Label, "on", 3240, 960, 372, 372},
    {"Label2", ControlKind::Label, "Label2", 3840, 960, 1692, 372, true, kDarkBlue},
    {"Command1", ControlKind::Button, "&Close", 2760, 1560, 1092, 372},
};
constexpr int kClientWidth = 6456;
constexpr int kClientHeight = 2028;

} // namespace

frmXcopyNotify::frmXcopyNotify(const Clock &clock) : m_clock(clock)
{
    setObjectName(QStringLiteral("frmXcopyNotify"));
    setWindowTitle(QStringLiteral("XCopy Notify"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));
    buildControls(this, kControls);

    // The labels read larger than the button, which keeps the window's own font.
    QFont labelFont(QStringLiteral("MS Sans Serif"));
    labelFont.setPointSizeF(13.2);
    for (QLabel *label : findChildren<QLabel *>()) {
        label->setWordWrap(false);
        label->setFont(labelFont);
    }

    auto *close = control<QPushButton>(this, "Command1");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &frmXcopyNotify::Command1_Click);

    Form_Load();
}

void frmXcopyNotify::Form_Load()
{
    const QDateTime now = m_clock.now();
    control<QLabel>(this, "Label2")->setText(dateText(now.date()));
    control<QLabel>(this, "Label3")->setText(timeText(now.time()));
    for (QLabel *label : findChildren<QLabel *>())
        shrinkToFit(label);
}

void frmXcopyNotify::Command1_Click()
{
    close();
}
