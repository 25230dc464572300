// Deploy to All / Selected Servers: every file of the deploy list copied into the deploy path of
// each server, through its administrative share.
#pragma once

#include "deploy/DeployControls.h"

#include <QString>
#include <vector>

namespace corvane {

class Host;
struct FileResult;

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
    // Takes the result of copying the deploy list's entry `row` to one server into its outcome,
    // an entry no longer pointing to a local file into `gone`; false when the server turned out
    // unreachable and no further copy is to be begun.
    bool TakeResult(int row, const FileResult& copied, ServerOutcome& outcome,
                    std::vector<int>& gone);

    Host& m_host;
    DeployControls m_controls;
};

} // namespace corvane
