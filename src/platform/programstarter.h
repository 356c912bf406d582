// Starts outside programs without waiting for them.
#pragma once

#include "common/outcome.h"

#include <QString>
#include <QStringList>

#include <memory>

// One program start in both of its forms: Windows starts the whole command line as it stands;
// other systems start the program with its argument vector, through no shell. The command line
// begins with the program's name.
struct ProgramStart
{
    QString commandLine;
    QString program;
    QStringList arguments;
    // What the start is for, such as "Folder pair 2": a copy window's caption names it beside the
    // command.
    QString caption = {};
};

// What cannot be started is said in the system's words.
class ProgramStarter
{
  public:
    virtual ~ProgramStarter() = default;
    // A copy command, in a copy window of the program's own shown minimized, which keeps the
    // program running until it closes.
    virtual Outcome startCopy(const ProgramStart &copy) = 0;
    // Any other program, on its own, maximized with the focus; it outlives the program.
    virtual Outcome start(const ProgramStart &program) = 0;
    // A document, in the program the desktop opens such documents with.
    virtual Outcome open(const QString &document) = 0;
};

// The starter of the system the program was built for.
std::unique_ptr<ProgramStarter> makeProgramStarter(const QString &installFolder);
