// The deploy list editor: Add File(s), Remove File(s), Clear List and the file picker.
#pragma once

#include "deploy/DeployControls.h"

#include <QString>

namespace corvane {

class Host;

class DeployList {
public:
    DeployList(Host& host, DeployControls controls);

    void cmdAddDeployables_Click();
    void cmdRemoveDeployables_Click();
    void cmdClearDeploy_Click();

    // The multi-select open dialog: one path, or the folder and each name separated by NUL;
    // empty when cancelled.
    QString GetFiles(const QString& sTitle = {});

private:
    Host& m_host;
    DeployControls m_controls;
};

} // namespace corvane
