#include "windowfixture.h"

WindowFixture::WindowFixture()
{
    drives.drives = {{QStringLiteral("/"), QStringLiteral("/")}};
}

WindowFixture::~WindowFixture()
{
    delete m_window;
}

frmSelect &WindowFixture::open()
{
    return open(programs);
}

frmSelect &WindowFixture::open(ProgramStarter &starter)
{
    m_window =
        new frmSelect({database.store(), clock, messages, starter, drives, installFolder.path()});
    return *m_window;
}

frmSelect &WindowFixture::restart()
{
    delete m_window;
    return open();
}
