// The program's icon: a folder with an arrow, drawn so that it is sharp at 16 and 32 pixels.
#pragma once

#include <QIcon>
#include <QImage>

QImage iconImage(int size);
QIcon applicationIcon(); // 16 and 32 pixels
