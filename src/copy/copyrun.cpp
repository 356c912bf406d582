#include "app/frmselect.h"

void frmSelect::Command1_Click() {}
