// A main window over a temporary settings database and fakes for everything outside.
#pragma once

#include "fakes.h"
#include "testdatabase.h"

#include "app/frmselect.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>

#include <memory>

// What the user does: types the whole text of a box, picks a list entry.
void typeInto(QLineEdit *box, const QString &text);
void pickEntry(QComboBox *list, const QString &entry);

class WindowFixture
{
  public:
    ~WindowFixture() { delete m_window; }

    // Creates the main window, which runs the start-up restore. Records put into the database
    // beforehand are what the restore finds.
    frmSelect &open()
    {
        m_window = new frmSelect(
            {database.store(), clock, messages, programs, drives, installFolder.path()});
        return *m_window;
    }
    frmSelect &window() { return *m_window; }

    // What the user does: types the whole text of a box, clicks a check box, picks a list entry.
    void type(const QString &box, const QString &text) { typeInto(find<QLineEdit>(box), text); }
    void click(const QString &box) { find<QCheckBox>(box)->click(); }
    void pick(const QString &list, const QString &text) { pickEntry(find<QComboBox>(list), text); }

    template <typename T> T *find(const QString &name) const
    {
        T *found = m_window->findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }

    // A path in a folder of the test's own: copies make their missing To folders.
    QString at(const QString &name) const { return folders.filePath(name); }

    TestDatabase database;
    FakeClock clock;
    FakeMessageBoxes messages;
    FakeProgramStarter programs;
    FakeDrives drives;
    QTemporaryDir installFolder;
    QTemporaryDir folders;

  private:
    QPointer<frmSelect> m_window;
};
