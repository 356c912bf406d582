// A copy's output, as its window shows it and the run log keeps it. Windows's console programs,
// xcopy.exe among them, write in the console's OEM code page (such as 437 or 850); other systems'
// programs write in the locale's encoding.
#pragma once

#include <QByteArray>
#include <QString>

// The text of some output.
QString outputText(const QByteArray &output);

// The output as the run log keeps it: as written, and in UTF-8 on Windows like the rest of the log.
QByteArray loggedOutput(const QByteArray &output);
