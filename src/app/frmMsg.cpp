// The notice window: two centred lines and an OK button that closes it.
#include "app/frmMsg.h"

#include "app/Controls.h"
#include "app/Twips.h"

#include <QLabel>
#include <QPushButton>

namespace corvane {

frmMsg::frmMsg(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmMsg"));
    setWindowTitle(QStringLiteral("Warning:"));
    setFixedSize(Twips(6240), Twips(1560));
    lblMsg = MakeLabel(this, "lblMsg", QString(), TwipsRect(120, 120, 6000, 720));
    lblMsg->setAlignment(Qt::AlignCenter);
    lblMsg->setWordWrap(true);
    cmdOK = MakeButton(this, "cmdOK", QStringLiteral("OK"), QString(),
                       TwipsRect((6240 - 1215) / 2, 960, 1215, 375));
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace corvane
