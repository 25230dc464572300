// The Add Computer dialog and its Add and Cancel buttons.
#include "computers/frmAddComputer.h"

#include "app/Controls.h"
#include "app/Host.h"
#include "app/ListHelpers.h"
#include "app/Twips.h"
#include "computers/ComputerList.h"
#include "computers/UpperCaseLineEdit.h"
#include "persist/ListFiles.h"
#include "platform/Dialogs.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace corvane {

frmAddComputer::frmAddComputer(ComputerList& list) : QDialog(&list.host().Window()), m_list(list) {
    setObjectName(QStringLiteral("frmAddComputer"));
    setWindowTitle(QStringLiteral("Add Computer"));
    setFixedSize(Twips(4320), Twips(1800));
    lblTypeName = MakeLabel(this, "lblTypeName", QStringLiteral("Type in the computer name below:"),
                            TwipsRect(240, 180, 3840, 285));
    lblTypeName->setAlignment(Qt::AlignCenter);
    txtComputer = new UpperCaseLineEdit(this);
    txtComputer->setObjectName(QStringLiteral("txtComputer"));
    txtComputer->setAccessibleName(lblTypeName->text());
    txtComputer->setGeometry(TwipsRect(240, 540, 3840, 345));
    lblTypeName->setBuddy(txtComputer);
    cmdAdd = MakeButton(this, "cmdAdd", QStringLiteral("Add"), QString(),
                        TwipsRect(600, 1125, 1335, 420));
    cmdCancel = MakeButton(this, "cmdCancel", QStringLiteral("Cancel"), QString(),
                           TwipsRect(2385, 1125, 1335, 420));
    connect(cmdAdd, &QPushButton::clicked, this, &frmAddComputer::cmdAdd_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAddComputer::cmdCancel_Click);
    connect(txtComputer, &QLineEdit::returnPressed, this, &frmAddComputer::cmdAdd_Click);
}

void frmAddComputer::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    txtComputer->setFocus();
}

void frmAddComputer::keyPressEvent(QKeyEvent* event) {
    // Neither button is the default or the cancel button: Enter belongs to the text box and
    // Escape does nothing.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmAddComputer::cmdAdd_Click() {
    QString name = txtComputer->text();
    if (name.isEmpty()) {
        m_list.host().MsgBox(
            QStringLiteral("You forgot to type a computer name, please try again."));
        return;
    }
    if (name.startsWith(QStringLiteral("\\\\"))) {
        name.remove(0, 2);
        txtComputer->setText(name);
    }
    if (!FitsListFile(name)) {
        m_list.host().MsgBox(
            QStringLiteral("A computer name cannot hold a double quote (\") or a control "
                           "character such as a line break:\r\n%1\r\nPlease type the "
                           "name without it.")
                .arg(ShownEntry(name)),
            MsgStyle::Exclamation);
        return;
    }
    if (m_list.list().count() >= kMaxListEntries) {
        m_list.host().MsgBox(
            QStringLiteral("The computer list already holds %1 computers, the most "
                           "Corvane works with. Remove one before adding another.")
                .arg(kMaxListEntries),
            MsgStyle::Exclamation);
        return;
    }
    InsertSorted(m_list.list(), name);
    m_list.Save();
    hide();
}

void frmAddComputer::cmdCancel_Click() {
    hide();
}

} // namespace corvane
