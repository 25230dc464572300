// The uptime report window: its controls, Cancel, Close, and what closing it means for the sweep.
#include "uptime/frmUptimeReport.h"

#include "app/Controls.h"
#include "app/Host.h"
#include "app/OneLineDelegate.h"
#include "app/Twips.h"
#include "platform/Processes.h"

#include <QCloseEvent>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace corvane {
namespace {

constexpr int kPictureWidth = 240;
constexpr int kPictureHeight = 48;
// Four frames a second: a scrolling list can be followed at that pace, and every frame costs a
// painting of the whole list.
constexpr int kFrameMs = 250;

} // namespace

frmUptimeReport::frmUptimeReport(QWidget& owner, Host& host)
    : QWidget(&owner, Qt::Window), m_host(host) {
    setObjectName(QStringLiteral("frmUptimeReport"));
    setWindowTitle(QStringLiteral("Corvane - Uptime Report"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(Twips(9000), Twips(5400));
    const int margin = Twips(240);
    const int inner = width() - 2 * margin;

    WebBrowser1 = new QLabel(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setGeometry((width() - kPictureWidth) / 2, Twips(180), kPictureWidth,
                             kPictureHeight);

    const int listTop = WebBrowser1->geometry().bottom() + 1 + Twips(180);
    const int buttonHeight = Twips(375);
    const int buttonTop = height() - Twips(180) - buttonHeight;
    lstUptimeReport = MakeList(this, "lstUptimeReport", QStringLiteral("Uptime report"),
                               QStringLiteral("How long each server has been running."),
                               QRect(margin, listTop, inner, buttonTop - Twips(180) - listTop));
    // Every line is one line of the same font: without this, each layout measures every line.
    // (The list's width for scrolling is then the last line's.)
    lstUptimeReport->setUniformItemSizes(true);
    lstUptimeReport->setItemDelegate(new OneLineDelegate(lstUptimeReport));
    // Lines of a script that needs no shaping are drawn without it (no kerning): that halves the
    // cost of a frame, which lays out every line in view anew. Other scripts are still shaped.
    QFont font = lstUptimeReport->font();
    font.setStyleStrategy(QFont::PreferNoShaping);
    lstUptimeReport->setFont(font);

    const int buttonWidth = Twips(1215);
    cmdCancel = MakeButton(
        this, "cmdCancel", QStringLiteral("Cancel"), QStringLiteral("Stop the uptime sweep."),
        QRect(width() / 2 - Twips(120) - buttonWidth, buttonTop, buttonWidth, buttonHeight));
    cmdClose = MakeButton(this, "cmdClose", QStringLiteral("Close"),
                          QStringLiteral("Close the uptime report."),
                          QRect(width() / 2 + Twips(120), buttonTop, buttonWidth, buttonHeight));
    cmdClose->setEnabled(false);
    connect(cmdCancel, &QPushButton::clicked, this, &frmUptimeReport::cmdCancel_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmUptimeReport::cmdClose_Click);

    ShowPicture(UptimePicture::Collecting);
}

void frmUptimeReport::BeginSweep() {
    m_sweeping = true;
    cmdCancel->setEnabled(true);
    cmdClose->setEnabled(false);
    ShowPicture(UptimePicture::Collecting);
}

void frmUptimeReport::EndSweep(bool cancelled) {
    m_sweeping = false;
    ShowNewLines();
    m_frame.stop();
    ShowPicture(cancelled ? UptimePicture::Cancelled : UptimePicture::Complete);
    cmdClose->setEnabled(true);
}

void frmUptimeReport::AddLine(const QString& line) {
    // Every line put into the list lays the whole list out again and repaints it, at a line every
    // millisecond or so; so the first line shows at once and the next ones go in together, one
    // frame later.
    m_newLines.append(line);
    if (!m_frame.isActive()) {
        ShowNewLines();
        m_frame.start(kFrameMs, this);
    }
}

void frmUptimeReport::ShowNewLines() {
    if (m_newLines.isEmpty()) {
        m_frame.stop();
        return;
    }
    lstUptimeReport->addItems(m_newLines);
    m_newLines.clear();
    lstUptimeReport->scrollToBottom();
}

void frmUptimeReport::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_frame.timerId()) {
        ShowNewLines();
        return;
    }
    QWidget::timerEvent(event);
}

void frmUptimeReport::ShowPicture(UptimePicture picture) {
    m_picture = picture;
    WebBrowser1->setPixmap(UptimePicturePixmap(picture));
    WebBrowser1->setAccessibleName(UptimePictureName(picture));
    WebBrowser1->setAccessibleDescription(UptimePictureDescription(picture));
    WebBrowser1->setToolTip(UptimePictureDescription(picture));
}

void frmUptimeReport::cmdCancel_Click() {
    if (onCancel) {
        onCancel();
    }
    ShowPicture(UptimePicture::Canceling);
    // Only the sweep's own command: the user's other command prompts are none of its business.
    if (m_running != nullptr) {
        m_running->End();
    }
}

void frmUptimeReport::cmdClose_Click() {
    close();
}

void frmUptimeReport::Form_Unload() {
    if (onCancel) {
        onCancel();
    }
    if (m_sweeping) {
        // A server that never answers would otherwise keep the sweep waiting with no window left
        // to cancel it from.
        if (m_running != nullptr) {
            m_running->End();
        }
    } else if (!m_host.IsBusy()) {
        m_host.SetIdleStatus();
    }
    m_running = nullptr;
}

void frmUptimeReport::closeEvent(QCloseEvent* event) {
    if (!m_unloaded) {
        m_unloaded = true;
        Form_Unload();
        if (onClosed) {
            onClosed();
        }
    }
    event->accept();
}

} // namespace corvane
