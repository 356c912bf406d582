#include "app/frmselect.h"

void frmSelect::startCopy(int) {}
