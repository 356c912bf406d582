#include "frmselect.h"

void frmSelect::Form_Initialize() {}
