// The manual viewer: laid out over the main window, filled afresh each time it is shown.
#include "app/frmTextViewer.h"

#include "app/Controls.h"
#include "app/Twips.h"
#include "persist/ItemReader.h"
#include "persist/TextFile.h"

#include <QListWidget>
#include <QPushButton>

namespace corvane {
namespace {

constexpr int kMaxShownItems = 1001;

} // namespace

frmTextViewer::frmTextViewer(QWidget& owner) : QDialog(&owner) {
    setObjectName(QStringLiteral("frmTextViewer"));
    setWindowTitle(QStringLiteral("Corvane - Text Viewer"));
    setGeometry(owner.geometry());
    lstBody = MakeList(this, "lstBody", QStringLiteral("Manual"), QString(),
                       QRect(0, 0, width() - Twips(100), height() - Twips(1200)));
    cmdClose = MakeButton(this, "cmdClose", QStringLiteral("Close"), QString(),
                          QRect(0, 0, Twips(1215), Twips(375)));
    cmdClose->move(lstBody->width() / 2 - cmdClose->width() / 2,
                   lstBody->y() + lstBody->height() + Twips(150));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::hide);
}

void frmTextViewer::LoadItems(FileSystem& files, const QString& path) {
    lstBody->clear();
    QString text;
    // A manual that cannot be read shows as an empty page, as a missing one does.
    static_cast<void>(ReadText(files, path, text));
    ItemReader reader(text);
    for (int i = 0; i < kMaxShownItems && !reader.AtEnd(); ++i) {
        lstBody->addItem(reader.ReadItem());
    }
}

} // namespace corvane
