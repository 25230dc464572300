// The status line, the busy cursor, message boxes and the file-error notice of the main window.
#include "app/frmMain.h"
#include "app/frmMsg.h"

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"

#include <QLabel>

namespace corvane {

QColor ToQColor(StatusColour colour) {
    const int value = static_cast<int>(colour);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

void frmMain::SetStatus(StatusColour colour, const QString& text) {
    m_statusColour = colour;
    QPalette palette = lblStatus->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, ToQColor(colour));
    lblStatus->setPalette(palette);
    lblStatus->setText(text);
}

bool frmMain::IsBusy() const {
    return testAttribute(Qt::WA_SetCursor) && cursor().shape() == Qt::WaitCursor;
}

void frmMain::SetBusy(bool busy) {
    if (busy) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
}

int frmMain::MsgBox(const QString& text, int style) {
    return m_services.dialogs.MsgBox(text, style, kProgramTitle);
}

void frmMain::HandleFileError(int error) {
    if (error == kBadFileName) {
        m_state.ServerUnreachable = true;
        frmMsg notice(this);
        notice.lblMsg->setText(QStringLiteral("Unable to communicate to server ") +
                               m_state.CurrentServer + QStringLiteral("\r\n") +
                               QStringLiteral("The server is either offline or unreachable at "
                                              "this time."));
        m_services.dialogs.ShowModal(notice);
    } else if (error == kPathNotFound) {
        MsgBox(QStringLiteral("Unable to locate path."));
    }
}

} // namespace corvane
