// The filters behind the schedule fields' checks.
#include "schedule/FieldEvents.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

namespace corvane {

bool UserFocusLoss::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        switch (static_cast<QFocusEvent*>(event)->reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::MouseFocusReason:
        case Qt::ShortcutFocusReason:
            // Never inside the focus change itself: a message box or a focus change made there
            // would fight the one in progress.
            QTimer::singleShot(0, this, m_onLoss);
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool KeyAndMouseWatch::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        m_pressed = true;
        break;
    case QEvent::KeyRelease:
        if (m_pressed && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
            m_pressed = false;
            m_onKeyUp();
        }
        break;
    case QEvent::FocusOut:
        m_pressed = false;
        break;
    case QEvent::MouseButtonPress:
        m_onMouseDown();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace corvane
