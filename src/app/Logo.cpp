// Draws the logo once: a raven-blue badge with a stylised server rack and the program's name.
#include "app/Logo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace corvane {
namespace {

QPixmap DrawLogo() {
    QPixmap pixmap(168, 48);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient background(0, 0, 0, 48);
    background.setColorAt(0, QColor(34, 52, 96));
    background.setColorAt(1, QColor(14, 22, 44));
    QPainterPath badge;
    badge.addRoundedRect(QRectF(0.5, 0.5, 167, 47), 8, 8);
    p.fillPath(badge, background);
    p.setPen(QPen(QColor(120, 150, 210), 1));
    p.drawPath(badge);

    // Three stacked servers with their status lights.
    for (int i = 0; i < 3; ++i) {
        const QRectF unit(10, 8 + i * 11, 26, 9);
        p.setPen(QPen(QColor(170, 190, 230), 1));
        p.setBrush(QColor(52, 74, 128));
        p.drawRoundedRect(unit, 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(i == 1 ? QColor(255, 200, 0) : QColor(80, 220, 120));
        p.drawEllipse(QPointF(31, unit.center().y()), 1.8, 1.8);
    }

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(24);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(240, 244, 255));
    p.drawText(QRectF(44, 4, 120, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Corvane"));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(9);
    p.setFont(small);
    p.setPen(QColor(170, 190, 230));
    p.drawText(QRectF(45, 31, 120, 12), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("server administration"));
    return pixmap;
}

} // namespace

QPixmap LogoPixmap() {
    static const QPixmap logo = DrawLogo();
    return logo;
}

QIcon LogoIcon() {
    return QIcon(LogoPixmap().copy(4, 4, 36, 40));
}

} // namespace corvane
