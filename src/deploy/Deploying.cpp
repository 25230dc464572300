// Deploying the deploy list to the servers' administrative shares.
#include "app/frmMain.h"

namespace corvane {

void frmMain::cmdDeployAll_Click() {}

void frmMain::cmdDeploySelected_Click() {}

} // namespace corvane
