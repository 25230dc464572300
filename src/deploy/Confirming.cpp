// Confirming deployed files.
#include "app/frmMain.h"

namespace corvane {

void frmMain::cmdConfirmAll_Click() {}

void frmMain::cmdConfirmSel_Click() {}

} // namespace corvane
