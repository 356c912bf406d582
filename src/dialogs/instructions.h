// The Help menu's two instruction documents, opened in outside programs without waiting.
#pragma once

#include "common/outcome.h"

#include <QString>

class ProgramStarter;

enum class Instructions { Pdf, Text };

// Opens the installed document: the pdf in the desktop's viewer for pdf files, the text by its
// fixed command line on Windows and in the desktop's viewer elsewhere. A failure names the
// document and why it could not be opened.
Outcome openInstructions(ProgramStarter &programs, const QString &installFolder,
                         Instructions which);
