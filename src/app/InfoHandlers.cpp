// The Manual and About buttons; neither waits for a run to end.
#include "app/frmAbout.h"
#include "app/frmMain.h"
#include "app/frmTextViewer.h"

#include "platform/Dialogs.h"

namespace corvane {

void frmMain::cmdManual_Click() {
    if (m_textViewer == nullptr) {
        m_textViewer = new frmTextViewer(*this);
    }
    m_textViewer->LoadItems(m_services.files, AppDir() + QStringLiteral("manual.txt"));
    m_services.dialogs.ShowModal(*m_textViewer);
}

void frmMain::cmdAbout_Click() {
    if (m_about == nullptr) {
        m_about = new frmAbout(*this);
    }
    m_services.dialogs.ShowModal(*m_about);
}

} // namespace corvane
