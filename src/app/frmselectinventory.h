// Every control of the main window, as data.
#pragma once

#include "controls/controlbuilder.h"

#include <array>

inline constexpr int kfrmSelectClientWidth = 9528;  // twips
inline constexpr int kfrmSelectClientHeight = 7212; // twips

extern const std::array<ControlEntry, 67> kfrmSelectControls;
extern const std::array<LineEntry, 4> kfrmSelectLines;
