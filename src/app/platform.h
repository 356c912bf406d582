// The outside resources the main window works with; tests hand it fakes.
#pragma once

#include <QString>

class Clock;
class Drives;
class MessageBoxes;
class ProgramStarter;
class SettingsStore;

struct Platform
{
    SettingsStore &store;
    Clock &clock;
    MessageBoxes &messages;
    ProgramStarter &programs;
    Drives &drives;
    QString installFolder;
};
