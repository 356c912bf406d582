#include "frmselect.h"

#include "controls/captionlabel.h"
#include "controls/drivefolder.h"
#include "controls/drivelist.h"
#include "controls/filelist.h"
#include "controls/folderlist.h"
#include "frmselectinventory.h"
#include "platform/drives.h"
#include "platform/messageboxes.h"
#include "schedule/schedulelists.h"
#include "store/settingsstore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

frmSelect::frmSelect(const Platform &platform, QWidget *parent)
    : QMainWindow(parent), m_platform(platform), m_pairs(platform.store),
      m_schedule(platform.store, platform.clock), m_launcher(platform.programs),
      m_copyRun(m_pairs, m_launcher, m_schedule)
{
    setObjectName(QStringLiteral("frmSelect"));
    setWindowTitle(QStringLiteral("Tolvan's XCopy"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setMinimumSize(twipsToPixels(kfrmSelectClientWidth),
                           twipsToPixels(kfrmSelectClientHeight));
    setCentralWidget(client);
    buildControls(client, kfrmSelectControls);
    buildLines(client, kfrmSelectLines);
    ui.bind(client);
    ui.Timer1 = new QTimer(this);
    ui.Timer1->setObjectName(QStringLiteral("Timer1"));
    ui.Timer1->setSingleShot(true);

    ui.cmbDays->addItems(dayEntries());
    ui.Combo1->addItems(timeEntries());
    shrinkToWidth(ui.cmbDays, dayEntries(), kDropDownRoom);
    shrinkToWidth(ui.Combo1, timeEntries(), kDropDownRoom);
    ui.cmbDays->setCurrentIndex(-1);
    ui.Combo1->setCurrentIndex(-1);
    // The clock labels are fitted once for their widest texts, so that no second is cut off and
    // the font does not change from second to second.
    shrinkToWidth(ui.lblTimer, {QStringLiteral("12:00:00 PM"), QStringLiteral("12:00:00 AM")},
                  kLabelRoom);
    shrinkToWidth(ui.lblDate, {QStringLiteral("12/31/2099")}, kLabelRoom);
    ui.lblNextDate->setFont(ui.lblDate->font()); // a box of the same width

    // The lists start at the program's current folder; no change is reported for that. A folder
    // that cannot be read leaves them empty, and is said once.
    const QString start = QDir::currentPath();
    Outcome startShown = Outcome::done();
    for (std::size_t side = 0; side < 2; ++side) {
        ui.Drive[side]->setDrives(m_platform.drives);
        startShown = startShown.also(showStartFolder(ui.Drive[side], ui.Dir[side], start))
                         .also(ui.File[side]->setPath(start));
    }
    report(startShown);

    buildMenus();
    connectHandlers();

    Form_Initialize();
    armClock();
}

void frmSelect::report(const Outcome &outcome)
{
    if (!outcome.ok())
        m_platform.messages.inform(outcome.why());
}

void frmSelect::notify(const Outcome &outcome)
{
    if (!outcome.ok())
        m_platform.messages.notify(outcome.why());
}

void frmSelect::buildMenus()
{
    struct Entry
    {
        const char *name;
        const char *caption;
        void (frmSelect::*handler)();
    };
    struct Menu
    {
        const char *name;
        const char *caption;
        std::initializer_list<Entry> entries;
    };
    const Menu menus[] = {
        {"mnuFile",
         "&File",
         {{"mnuSync", "&XCopy", &frmSelect::mnuSync_Click},
          {"mnuCreateDir", "A&dd Folder", &frmSelect::mnuCreateDir_Click},
          {"mnuExit", "&Exit", &frmSelect::mnuExit_Click}}},
        {"mnuHelp",
         "&Help",
         {{"mnuSyncInstruct", "XCopy Instructions (pdf)", &frmSelect::mnuSyncInstruct_Click},
          {"mnuSyncInstructTxt", "XCopy Instructions (txt)", &frmSelect::mnuSyncInstructTxt_Click},
          {"mnuAbout", "&About", &frmSelect::mnuAbout_Click}}},
    };
    for (const Menu &menu : menus) {
        QMenu *created = menuBar()->addMenu(QString::fromUtf8(menu.caption));
        created->setObjectName(QLatin1String(menu.name));
        for (const Entry &entry : menu.entries) {
            QAction *action = created->addAction(QString::fromUtf8(entry.caption));
            action->setObjectName(QLatin1String(entry.name));
            connect(action, &QAction::triggered, this, entry.handler);
        }
    }
}

void frmSelect::connectHandlers()
{
    connect(ui.Drive[0], &DriveList::changed, this, &frmSelect::Drive1_Change);
    connect(ui.Drive[1], &DriveList::changed, this, &frmSelect::Drive2_Change);
    connect(ui.Dir[0], &FolderList::changed, this, &frmSelect::Dir1_Change);
    connect(ui.Dir[1], &FolderList::changed, this, &frmSelect::Dir2_Change);
    for (FolderList *folders : ui.Dir) {
        connect(folders, &FolderList::openFailed, this,
                [this](const QString &reason) { m_platform.messages.inform(reason); });
    }
    // Only what the user does reaches the subsystems: the signals below are not raised when the
    // window is drawn from code.
    for (FolderPair pair : FolderPair::all()) {
        connect(ui.lockBox(pair), &QCheckBox::clicked, this, [this, pair] { lockClick(pair); });
        for (Side side : {Side::From, Side::To}) {
            connect(ui.box(pair, side), &QLineEdit::textEdited, this,
                    [this, pair, side](const QString &text) { m_pairs.type(pair, side, text); });
        }
    }
    connect(ui.Command1, &QPushButton::clicked, this, &frmSelect::Command1_Click);
    connect(ui.cmdActivateAS, &QPushButton::clicked, this, &frmSelect::cmdActivateAS_Click);
    connect(ui.cmdCreateDir, &QPushButton::clicked, this, &frmSelect::cmdCreateDir_Click);
    connect(ui.ckUseTimer, &QCheckBox::clicked, this, &frmSelect::ckUseTimer_Click);
    connect(ui.cmbDays, &QComboBox::textActivated, this,
            [this](const QString &entry) { m_schedule.chooseInterval(entry); });
    connect(ui.Combo1, &QComboBox::textActivated, this,
            [this](const QString &entry) { m_schedule.chooseTimeOfDay(entry); });
    connect(ui.CkStopAutoSync, &QCheckBox::clicked, this, &frmSelect::CkStopAutoSync_Click);
    connect(ui.lblTimer, &CaptionLabel::captionChanged, this, &frmSelect::lblTimer_Change);
    connect(ui.Timer1, &QTimer::timeout, this, &frmSelect::Timer1_Timer);
}
