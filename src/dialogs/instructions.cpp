#include "instructions.h"

#include "platform/programstarter.h"

#include <QDir>

namespace {

struct Document
{
    const char *windowsCommandLine; // fixed, started exactly as it stands
    const char *fileName;           // in the installation folder, for the desktop's viewer
};

// The pdf line spells the folder "RevuredAveze", which only a case-insensitive file system
// forgives; elsewhere the document is named with the folder's real spelling.
constexpr Document kPdf{"C:\\Program Files\\Internet Explorer\\iexplore.exe "
                        "C:\\Program Files\\RevuredAveze\\XCopyInstuctions.pdf",
                        "XCopyInstuctions.pdf"};
constexpr Document kText{"notepad.exe C:\\Program Files\\RevuredAVeze\\XCopyInstruct.txt",
                         "XCopyInstruct.txt"};

} // namespace

QString openInstructions(ProgramStarter &programs, const QString &installFolder, Instructions which)
{
    const Document &document = which == Instructions::Pdf ? kPdf : kText;
    const QString path = QDir(installFolder).filePath(QLatin1String(document.fileName));
    ProgramStart start{QLatin1String(document.windowsCommandLine),
                       QStringLiteral("xdg-open"),
                       {path},
                       WindowState::MaximizedFocus};
#ifdef Q_OS_WIN
    // Internet Explorer, which the pdf's line names, is gone from current Windows: the pdf opens
    // in the program Windows associates with pdf files.
    if (which == Instructions::Pdf)
        start = {QString(), QDir::toNativeSeparators(path), {}, WindowState::MaximizedFocus};
#endif
    const QString reason = programs.start(start);
    if (reason.isEmpty())
        return {};
    return QStringLiteral("The instructions %1 could not be opened: %2.")
        .arg(QDir::toNativeSeparators(path), reason);
}
