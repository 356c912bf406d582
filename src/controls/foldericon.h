// A folder drawn in code: the same on every desktop, and no icon theme is searched for it.
#pragma once

#include <QIcon>

class QPainter;

// Draws the folder on a grid of 32 units, closed or with its front opened.
void drawFolder(QPainter &painter, bool open);

// The folder at 16 and 32 pixels.
QIcon folderIcon(bool open);
