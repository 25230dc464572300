// The program's logo (168 x 48) and window icon.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace corvane {

QPixmap LogoPixmap();
QIcon LogoIcon();

} // namespace corvane
