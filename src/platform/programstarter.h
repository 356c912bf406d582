// Starts outside programs without waiting for them.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

enum class WindowState { MinimizedActive, MaximizedFocus };

// One program start in both of its forms: Windows starts the whole command line as it stands;
// other systems start the program with its argument vector, through no shell. The command line
// begins with the program's name. On Windows a start without a command line opens the document
// named by program in the program the system associates with it.
struct ProgramStart
{
    QString commandLine;
    QString program;
    QStringList arguments;
    WindowState state = WindowState::MinimizedActive;
    // What the start is for, such as "Folder pair 2": a copy window's caption names it beside the
    // command. A console shows only the command.
    QString caption = {};
};

class ProgramStarter
{
  public:
    virtual ~ProgramStarter() = default;
    // Returns an empty text when the program was started, otherwise the system's reason.
    virtual QString start(const ProgramStart &request) = 0;
};

// The starter of the system the program was built for.
std::unique_ptr<ProgramStarter> makeProgramStarter(const QString &installFolder);
