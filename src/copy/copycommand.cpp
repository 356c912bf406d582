#include "copycommand.h"

namespace {

const QString kProgram = QStringLiteral("xcopy.exe");
const QString kQuote = QStringLiteral("\"");
const QString kBlank = QStringLiteral(" ");
const QString kOptions = QStringLiteral("/D /Y /S");

} // namespace

ProgramStart copyCommand(int pair, const QString &from, const QString &to)
{
    // The paths are neither trimmed nor escaped: on Windows the quotes keep a path with blanks
    // one argument, elsewhere each path is an argument of its own and needs no quoting at all.
    ProgramStart command;
    command.commandLine = kProgram + kBlank + kQuote + from + kQuote + kBlank + kQuote + to +
                          kQuote + kBlank + kOptions;
    command.program = kProgram;
    command.arguments = QStringList{from, to} + kOptions.split(kBlank);
    command.caption = QStringLiteral("Folder pair %1").arg(pair);
    return command;
}
