// The opening checks of a run over servers and the guard that closes it.
#include "app/ServerRun.h"

#include "app/Host.h"

#include <QWidget>

namespace corvane {

ServerRun::ServerRun(Host& host, std::function<void()> onClose)
    : m_host(host), m_onClose(std::move(onClose)) {}

ServerRun::~ServerRun() {
    // A run refused because another one holds the cursor leaves that cursor alone.
    if (!m_othersCursor) {
        m_host.SetBusy(false);
    }
    if (!m_idle) {
        return;
    }
    if (m_onClose) {
        m_onClose();
    } else {
        m_host.SetIdleStatus();
    }
}

bool ServerRun::Open(const RunOpening& opening) {
    m_idle = opening.idleWhenRefused;
    if (m_host.IsBusy()) {
        m_othersCursor = true;
        return false;
    }
    if (opening.selectedOnly) {
        const bool noCurrent = m_host.CurrentServer().isEmpty();
        if (noCurrent && !opening.oneSelectionMessage) {
            m_host.MsgBox(
                QStringLiteral("you forgot to select one or more computers from the list."));
            return false;
        }
        if (noCurrent || m_host.TargetServers(true).isEmpty()) {
            m_host.MsgBox(
                QStringLiteral("You forgot to select one or more computers from the list."));
            return false;
        }
    }
    if (opening.startsCommands && m_host.AppDirRefused()) {
        return false;
    }
    m_idle = true;
    return true;
}

void ServerRun::Begin(const QString& status, Paint paint) {
    m_host.SetBusy(true);
    m_host.SetStatus(StatusColour::Busy, status);
    if (paint == Paint::Window) {
        m_host.Window().repaint();
    } else {
        m_host.RepaintStatus();
    }
}

void ServerRun::Done() {
    m_host.SetStatus(StatusColour::Done, QStringLiteral("Done!"));
}

} // namespace corvane
