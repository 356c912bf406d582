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
    m_window =
        new frmSelect({database.store(), clock, messages, programs, drives, installFolder.path()});
    return *m_window;
}

frmSelect &WindowFixture::restart()
{
    delete m_window;
    return open();
}
