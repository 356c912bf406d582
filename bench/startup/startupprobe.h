// Measures a program's start: when its first window is shown, prints the time since the launch
// time given on the command line (ns since the epoch) and the peak memory so far, then quits.
#pragma once

class QApplication;

void measureStartUntilShown(QApplication &application, const char *launchNanoseconds);
