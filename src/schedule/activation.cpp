#include "app/frmselect.h"

void frmSelect::cmdActivateAS_Click() {}

void frmSelect::cmdActivateAS2() {}
