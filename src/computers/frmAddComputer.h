// The Add Computer dialog: one server name typed in upper case, added to the computer list.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane {

class ComputerList;

class frmAddComputer final : public QDialog {
public:
    explicit frmAddComputer(ComputerList& list);

    // Adds the typed name to the list and saves it, then closes; an unusable name is refused
    // with a message and the dialog stays open.
    void cmdAdd_Click();
    void cmdCancel_Click();

    QLabel* lblTypeName;
    QLineEdit* txtComputer;
    QPushButton* cmdAdd;
    QPushButton* cmdCancel;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    ComputerList& m_list;
};

} // namespace corvane
