// Deploy to All / Selected Servers: every file of the deploy list copied into the deploy path of
// each server, through its administrative share.
#pragma once

#include "deploy/DeployControls.h"

#include <QString>

namespace corvane {

class Host;

class Deploying {
public:
    Deploying(Host& host, DeployControls controls);

    void cmdDeployAll_Click();
    void cmdDeploySelected_Click();

    // What went wrong on one server during a deploy.
    struct ServerOutcome;
    struct Sources;

private:
    void DeployFiles(bool selectedOnly);
    // The opening checks after the selection: the deploy list, the path, the question.
    bool MayDeploy(const QString& deployPath, bool selectedOnly);
    ServerOutcome DeployToServer(const QString& server, const QString& deployPath,
                                 Sources& sources);
    // Each level of the target folder, created where it is missing; false when the server is
    // unreachable, which has been said.
    bool MakeFolders(const QString& server, const QString& root, const QString& relative);

    Host& m_host;
    DeployControls m_controls;
};

} // namespace corvane
