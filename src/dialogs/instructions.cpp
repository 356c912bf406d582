#include "instructions.h"

#include "platform/programstarter.h"

#include <QDir>

namespace {

// Started exactly as it stands on Windows; elsewhere the document is named with the
// installation folder's real path.
const QString kTextCommandLine =
    QStringLiteral("notepad.exe C:\\Program Files\\RevuredAVeze\\XCopyInstruct.txt");

} // namespace

Outcome openInstructions(ProgramStarter &programs, const QString &installFolder, Instructions which)
{
    // The pdf's fixed line names Internet Explorer, which current Windows no longer has: the pdf
    // opens in the program the desktop opens pdf files with, on every system.
    const QString document = which == Instructions::Pdf ? QStringLiteral("XCopyInstuctions.pdf")
                                                        : QStringLiteral("XCopyInstruct.txt");
    const QString path = QDir(installFolder).filePath(document);
    const Outcome opened =
        which == Instructions::Pdf
            ? programs.open(path)
            : programs.start({kTextCommandLine, QStringLiteral("xdg-open"), {path}});
    if (opened.ok())
        return opened;
    return Outcome::failed(QStringLiteral("The instructions %1 could not be opened: %2.")
                               .arg(QDir::toNativeSeparators(path), opened.why()));
}
