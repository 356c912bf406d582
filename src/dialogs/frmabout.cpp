#include "frmabout.h"

#include "common/appinfo.h"
#include "controls/controlbuilder.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr int kClientWidth = 5736;  // twips
constexpr int kClientHeight = 3564; // twips
constexpr QRgb kBlack = 0x000000;
using K = ControlKind;

constexpr ControlEntry kControls[]{
    {"picIcon", K::PictureBox, "", 120, 240, 624, 624},
    {"lblTitle", K::Label, "Application Title", 1050, 240, 3885, 480, true, kBlack},
    {"lblVersion", K::Label, "Version", 1050, 780, 3885, 225},
    {"lblDescription", K::Label,
     "Tolvan's XCopy allows users to quickly copy folders, subfolders and their files. It is "
     "ideal for creating a copy to a second drive.  Copy  up to 7 Folders, their subfolders and "
     "files,  either manually or at set time intervals.",
     1050, 1125, 3885, 1170, true, kBlack},
    {"lblDisclaimer", K::Label,
     "This program is provided as is, without warranty of any kind; you use it at your own "
     "risk. Please report problems at www.revuredaveze.example.org.",
     255, 2625, 3870, 825, true, kBlack},
    {"cmdOK", K::Button, "OK", 4320, 3120, 1260, 345},
};

// A grey line with a white one just below it reads as one etched groove.
constexpr LineEntry kLines[]{
    {"Line1", 90, 2451, 5660, 2451, 0x808080},
    {"Line1", 105, 2466, 5660, 2466, 0xFFFFFF},
};
} // namespace

frmAbout::frmAbout()
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));
    buildControls(this, kControls);
    buildLines(this, kLines);
    lblTitle = control<QLabel>(this, "lblTitle");
    lblVersion = control<QLabel>(this, "lblVersion");

    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    auto *picIcon = control<QLabel>(this, "picIcon");
    picIcon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    picIcon->setAlignment(Qt::AlignCenter);

    connect(control<QPushButton>(this, "cmdOK"), &QPushButton::clicked, this,
            &frmAbout::cmdOK_Click);

    Form_Load();
}

void frmAbout::Form_Load()
{
    const QString title = QLatin1String(kApplicationTitle);
    setWindowTitle(QStringLiteral("About ") + title);
    lblTitle->setText(title);
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(kVersionMajor)
                            .arg(kVersionMinor)
                            .arg(kVersionPatch));
    for (QLabel *label : findChildren<QLabel *>())
        shrinkToFit(label);
}
