// The notice window that tells the user a server could not be reached.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace corvane {

class frmMsg final : public QDialog {
public:
    explicit frmMsg(QWidget* owner);

    QLabel* lblMsg;
    QPushButton* cmdOK;
};

} // namespace corvane
