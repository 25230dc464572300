// Draws the four state pictures of the uptime report window: a badge with a sign and a caption.
#include "uptime/UptimePicture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>

namespace corvane {
namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 48;

struct Look {
    QColor top;
    QColor bottom;
    QColor sign;
    const char* caption;
};

Look LookOf(UptimePicture picture) {
    switch (picture) {
    case UptimePicture::Collecting:
        return {QColor(34, 52, 96), QColor(14, 22, 44), QColor(120, 190, 255),
                "Collecting uptimes..."};
    case UptimePicture::Canceling:
        return {QColor(110, 78, 10), QColor(60, 40, 0), QColor(255, 200, 0), "Canceling..."};
    case UptimePicture::Complete:
        return {QColor(22, 92, 46), QColor(8, 46, 20), QColor(110, 235, 140),
                "Collection complete"};
    case UptimePicture::Cancelled:
        return {QColor(120, 28, 28), QColor(60, 10, 10), QColor(255, 130, 120),
                "Collection cancelled"};
    }
    return {};
}

// The sign in a circle of radius 15 around the centre: a clock, an hourglass, a tick or a cross.
void DrawSign(QPainter& p, UptimePicture picture, QPointF c, const QColor& colour) {
    p.setPen(QPen(colour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 15, 15);
    switch (picture) {
    case UptimePicture::Collecting:
        p.drawLine(c, c + QPointF(0, -10));
        p.drawLine(c, c + QPointF(7, 4));
        break;
    case UptimePicture::Canceling: {
        const std::array<QPointF, 5> glass{c + QPointF(-7, -9), c + QPointF(7, -9),
                                           c + QPointF(-7, 9), c + QPointF(7, 9),
                                           c + QPointF(-7, -9)};
        p.drawPolyline(glass.data(), static_cast<int>(glass.size()));
        break;
    }
    case UptimePicture::Complete: {
        const std::array<QPointF, 3> tick{c + QPointF(-8, 1), c + QPointF(-2, 7),
                                          c + QPointF(9, -6)};
        p.drawPolyline(tick.data(), static_cast<int>(tick.size()));
        break;
    }
    case UptimePicture::Cancelled:
        p.drawLine(c + QPointF(-7, -7), c + QPointF(7, 7));
        p.drawLine(c + QPointF(-7, 7), c + QPointF(7, -7));
        break;
    }
}

QPixmap Draw(UptimePicture picture) {
    const Look look = LookOf(picture);
    QPixmap pixmap(kWidth, kHeight);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, kHeight);
    background.setColorAt(0, look.top);
    background.setColorAt(1, look.bottom);
    QPainterPath badge;
    badge.addRoundedRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1), 8, 8);
    p.fillPath(badge, background);
    p.setPen(QPen(look.sign, 1));
    p.drawPath(badge);
    DrawSign(p, picture, QPointF(26, kHeight / 2.0), look.sign);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(240, 244, 255));
    p.drawText(QRectF(52, 0, kWidth - 58, kHeight), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromLatin1(look.caption));
    return pixmap;
}

} // namespace

QString UptimePictureName(UptimePicture picture) {
    switch (picture) {
    case UptimePicture::Collecting:
        return QStringLiteral("Collecting");
    case UptimePicture::Canceling:
        return QStringLiteral("Canceling");
    case UptimePicture::Complete:
        return QStringLiteral("Complete");
    case UptimePicture::Cancelled:
        return QStringLiteral("Cancelled");
    }
    return {};
}

QString UptimePictureDescription(UptimePicture picture) {
    switch (picture) {
    case UptimePicture::Collecting:
        return QStringLiteral("The uptimes of the servers are being collected.");
    case UptimePicture::Canceling:
        return QStringLiteral("The collection is being cancelled.");
    case UptimePicture::Complete:
        return QStringLiteral("The collection is complete.");
    case UptimePicture::Cancelled:
        return QStringLiteral("The collection was cancelled.");
    }
    return {};
}

QPixmap UptimePicturePixmap(UptimePicture picture) {
    static const std::array<QPixmap, 4> pictures{
        Draw(UptimePicture::Collecting), Draw(UptimePicture::Canceling),
        Draw(UptimePicture::Complete), Draw(UptimePicture::Cancelled)};
    return pictures[static_cast<std::size_t>(picture)];
}

} // namespace corvane
