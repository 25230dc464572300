// Window measures are given in twips; this turns them into the screen's logical pixels.
#pragma once

#include <QRect>

namespace corvane {

// 1440 twips to the inch: 15 twips to a pixel at 96 dots per inch, scaled for other screens.
int Twips(int twips);
QRect TwipsRect(int left, int top, int width, int height);

} // namespace corvane
