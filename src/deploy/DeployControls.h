// The main window's deploy controls that the deploy list, deploying and confirming work on.
#pragma once

class QComboBox;
class QListWidget;

namespace corvane {

struct DeployControls {
    QListWidget& lstDeployables;  // the full paths, hidden
    QListWidget& lstDeployables2; // the file names, entry for entry
    QComboBox& cboDeployPath;
};

} // namespace corvane
