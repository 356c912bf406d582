#include "app/frmselect.h"

void frmSelect::ckUseTimer_Click() {}

void frmSelect::CkStopAutoSync_Click() {}
