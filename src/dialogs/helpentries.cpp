// The Help menu's two instruction documents, opened in outside programs without waiting.
#include "app/frmselect.h"

#include "platform/messageboxes.h"
#include "platform/programstarter.h"

#include <QDir>

namespace {
struct Instructions
{
    const char *windowsCommandLine; // fixed, started exactly as it stands
    const char *fileName;           // in the installation folder, for the desktop's viewer
};

// The pdf line spells the folder "RevuredAveze", which only a case-insensitive file system
// forgives; elsewhere the document is named with the folder's real spelling.
constexpr Instructions kPdfInstructions{"C:\\Program Files\\Internet Explorer\\iexplore.exe "
                                        "C:\\Program Files\\RevuredAveze\\XCopyInstuctions.pdf",
                                        "XCopyInstuctions.pdf"};
constexpr Instructions kTextInstructions{
    "notepad.exe C:\\Program Files\\RevuredAVeze\\XCopyInstruct.txt", "XCopyInstruct.txt"};

void open(const Platform &platform, const Instructions &instructions)
{
    const QString document =
        QDir(platform.installFolder).filePath(QLatin1String(instructions.fileName));
    const QString reason = platform.programs.start({QLatin1String(instructions.windowsCommandLine),
                                                    QStringLiteral("xdg-open"),
                                                    {document},
                                                    WindowState::MaximizedFocus});
    if (!reason.isEmpty())
        platform.messages.inform(QStringLiteral("The instructions %1 could not be opened: %2.")
                                     .arg(QDir::toNativeSeparators(document), reason));
}
} // namespace

void frmSelect::mnuSyncInstruct_Click()
{
    open(m_platform, kPdfInstructions);
}

void frmSelect::mnuSyncInstructTxt_Click()
{
    open(m_platform, kTextInstructions);
}
