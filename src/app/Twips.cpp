// Twips to logical pixels for the primary screen.
#include "app/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace corvane {
namespace {

double PixelsPerTwip() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchX() : 96.0;
    return (dpi > 0 ? dpi : 96.0) / 1440.0;
}

} // namespace

int Twips(int twips) {
    return static_cast<int>(std::lround(twips * PixelsPerTwip()));
}

QRect TwipsRect(int left, int top, int width, int height) {
    return {Twips(left), Twips(top), Twips(width), Twips(height)};
}

} // namespace corvane
