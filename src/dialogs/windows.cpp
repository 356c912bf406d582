#include "app/frmselect.h"

void frmSelect::cmdCreateDir_Click() {}

void frmSelect::mnuCreateDir_Click() {}

void frmSelect::mnuSyncInstruct_Click() {}

void frmSelect::mnuSyncInstructTxt_Click() {}

void frmSelect::mnuAbout_Click() {}
