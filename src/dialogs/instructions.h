// The Help menu's two instruction documents, opened in outside programs without waiting.
#pragma once

#include <QString>

class ProgramStarter;

enum class Instructions { Pdf, Text };

// Opens the document in the installation folder's viewer for it. Returns what to tell the user
// when the viewer could not be started, otherwise an empty text.
QString openInstructions(ProgramStarter &programs, const QString &installFolder,
                         Instructions which);
