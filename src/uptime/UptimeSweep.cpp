// The uptime sweep.
#include "app/frmMain.h"

namespace corvane {

void frmMain::cmdUpAll_Click() {}

void frmMain::cmdUpSel_Click() {}

} // namespace corvane
