#include "app/frmselect.h"

void frmSelect::driveChange(Side) {}

void frmSelect::dirChange(Side) {}
