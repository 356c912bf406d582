// The program's start: the settings database opened at the installation folder, then the main
// window. Nothing is read from arguments, the environment or other files.
#pragma once

#include <QString>

class MessageBoxes;

// Runs the program until its last window closes; returns its exit status. While another start
// holds the instance key, that one is brought to the front and this one ends at once with 0. A
// settings database that cannot be used is reported and ends the program with status 1. One
// that this user may not change is reported once, with the command that makes it theirs, and the
// program runs without saving.
int runProgram(const QString &installFolder, const QString &instanceKey, MessageBoxes &messages);
