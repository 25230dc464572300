// The About window's contents and its one-time placement over the main window.
#include "app/frmAbout.h"

#include "Version.h"
#include "app/Controls.h"
#include "app/Logo.h"
#include "app/Twips.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace corvane {

frmAbout::frmAbout(QWidget& owner) : QDialog(&owner) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Corvane"));
    setFixedSize(Twips(5400), Twips(3900));
    const int inner = Twips(5400) - 2 * Twips(240);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(LogoPixmap());
    Image1->setAccessibleName(QStringLiteral("Corvane logo"));
    Image1->setGeometry((width() - 168) / 2, Twips(180), 168, 48);

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Line1->setGeometry(Twips(240), Twips(1020), inner, Twips(30));

    lblVer = MakeLabel(this, "lblVer", QStringLiteral("Version ") + QLatin1String(kVersion),
                       QRect(Twips(240), Twips(1140), inner, Twips(255)));
    lblBy = MakeLabel(this, "lblBy",
                      QStringLiteral("Written by the Corvane team for the administrators who keep "
                                     "the servers running."),
                      QRect(Twips(240), Twips(1425), inner, Twips(480)));
    lblBy->setWordWrap(true);
    lblAbout = MakeLabel(
        this, "lblAbout",
        QStringLiteral("Corvane allows you to schedule commands and exectuables to run on up to "
                       "1000 servers from a single remote location. It also does mass deployments "
                       "of executables to servers for scheduling purposes."),
        QRect(Twips(240), Twips(1950), inner, Twips(1140)));
    lblAbout->setWordWrap(true);
    lblAbout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (QLabel* label : {lblVer, lblBy}) {
        label->setAlignment(Qt::AlignCenter);
    }
    cmdOk = MakeButton(this, "cmdOk", QStringLiteral("Close"), QString(),
                       QRect((width() - Twips(1215)) / 2, Twips(3300), Twips(1215), Twips(375)));
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::hide);

    const QRect main = owner.geometry();
    move(main.left() + main.width() / 2 - width() / 2,
         main.top() + main.height() / 2 - height() / 2);
}

} // namespace corvane
