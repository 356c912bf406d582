// A main window over a temporary settings database and fakes for everything outside.
#pragma once

#include "fakes.h"
#include "testdatabase.h"

#include "app/frmselect.h"

#include <QPointer>
#include <QTemporaryDir>

#include <memory>

class WindowFixture
{
  public:
    WindowFixture();
    ~WindowFixture();

    // Creates the main window, which runs the start-up restore. Records put into the database
    // beforehand are what the restore finds.
    frmSelect &open();
    // The program ended and started again on the same settings database.
    frmSelect &restart();
    frmSelect &window() { return *m_window; }
    bool isOpen() const { return !m_window.isNull(); }

    template <typename T> T *find(const QString &name) const
    {
        T *found = m_window->findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }

    TestDatabase database;
    FakeClock clock;
    FakeMessageBoxes messages;
    FakeProgramStarter programs;
    FakeDrives drives;
    QTemporaryDir installFolder;

  private:
    QPointer<frmSelect> m_window;
};
