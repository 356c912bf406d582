#include "app/frmselect.h"

void frmSelect::lockClick(int) {}
