// The About window: logo, version, by-line and what the program is for.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace corvane {

class frmAbout final : public QDialog {
public:
    // Centred on the owner as it stands when the window is created; it keeps that place.
    explicit frmAbout(QWidget& owner);

    QLabel* Image1;
    QFrame* Line1;
    QLabel* lblVer;
    QLabel* lblBy;
    QLabel* lblAbout;
    QPushButton* cmdOk;
};

} // namespace corvane
