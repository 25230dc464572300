// The style and font every window of the program is laid out for.
#include "app/Look.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

namespace corvane {

void ApplyProgramLook(QApplication& app) {
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(8);
    app.setFont(font);
    app.setApplicationName(QStringLiteral("Corvane"));
}

} // namespace corvane
