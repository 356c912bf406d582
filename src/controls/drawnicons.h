// Icons drawn in code: the same on every desktop, and no icon theme is searched for them.
#pragma once

#include <QIcon>
#include <QImage>

#include <functional>

class QPainter;

// An image of the given size on which `draw` paints on a grid of 32 units.
QImage drawnImage(int size, const std::function<void(QPainter &)> &draw);
// An icon of that drawing at 16 and 32 pixels.
QIcon drawnIcon(const std::function<void(QPainter &)> &draw);

// A folder, closed or with its front opened, on the grid of 32 units.
void drawFolder(QPainter &painter, bool open);

// The folder at 16 and 32 pixels.
QIcon folderIcon(bool open);

// The menu bar's overflow arrow, two chevrons pointing right, at 16 and 32 pixels.
QIcon overflowArrowIcon();
