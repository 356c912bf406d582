// Built on Windows only: the system's words for an error code.
#pragma once

#include <QString>

#include <windows.h>

// The system's message for a code of GetLastError() or of a security call, or "error N" where
// the system has none.
QString systemMessage(DWORD code);
