// Opening the add-folder dialog and the About window. Each exists at most once; opening it again
// brings the open one forward as it stands.
#include "app/frmselect.h"

#include "frmabout.h"
#include "frmadddir.h"
#include "platform/drives.h"

namespace {
void bringForward(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}
} // namespace

void frmSelect::cmdCreateDir_Click()
{
    if (!m_addDir)
        m_addDir = new frmAddDir(m_platform.messages, m_platform.drives.list());
    bringForward(m_addDir);
}

void frmSelect::mnuCreateDir_Click()
{
    cmdCreateDir_Click();
}

void frmSelect::mnuAbout_Click()
{
    if (!m_about)
        m_about = new frmAbout;
    bringForward(m_about);
}
