// Confirm Existance on All / Selected: tests the deploy path and each deploy-list file on the
// servers' administrative shares, writes report.top and shows it in the report window.
#pragma once

#include "deploy/DeployControls.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace corvane {

class Host;
class frmReport;

class Confirming {
public:
    Confirming(Host& host, DeployControls controls);

    void cmdConfirmAll_Click();
    void cmdConfirmSel_Click();
    void ConfirmRun(bool selectedOnly);

    // Created on the first report, then only hidden and shown again.
    frmReport* Report() const { return m_report; }

private:
    // The file names to test (an empty list tests the path alone), or nothing when the run stops
    // here, the reason said.
    std::optional<QStringList> FilesToTest(bool selectedOnly);
    void ShowReport();

    Host& m_host;
    DeployControls m_controls;
    frmReport* m_report = nullptr;
};

} // namespace corvane
