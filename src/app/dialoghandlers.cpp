// The add-folder dialog, the About window and the Help entries. Each window exists at most once;
// opening it again brings the open one forward as it stands.
#include "frmselect.h"

#include "dialogs/frmabout.h"
#include "dialogs/frmadddir.h"
#include "dialogs/instructions.h"
#include "platform/messageboxes.h"

namespace {
void bringForward(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

void open(const Platform &platform, Instructions which)
{
    if (const Outcome opened = openInstructions(platform.programs, platform.installFolder, which);
        !opened.ok())
        platform.messages.inform(opened.why());
}
} // namespace

void frmSelect::cmdCreateDir_Click()
{
    if (!m_addDir)
        m_addDir = new frmAddDir(m_platform.messages, m_platform.drives);
    bringForward(m_addDir);
}

void frmSelect::mnuAbout_Click()
{
    if (!m_about)
        m_about = new frmAbout;
    bringForward(m_about);
}

void frmSelect::mnuSyncInstruct_Click()
{
    open(m_platform, Instructions::Pdf);
}

void frmSelect::mnuSyncInstructTxt_Click()
{
    open(m_platform, Instructions::Text);
}
