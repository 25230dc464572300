// The pictures of the uptime report window: where the sweep stands, drawn in code.
#pragma once

#include <QPixmap>
#include <QString>

namespace corvane {

enum class UptimePicture {
    Collecting, // a sweep is asking the servers
    Canceling,  // Cancel was pressed; the sweep stops after the server it is asking
    Complete,   // the sweep asked every server it was to ask
    Cancelled,  // the sweep stopped early
};

// One word for the state, as assistive technology reads the picture: "Collecting", "Canceling",
// "Complete" or "Cancelled".
QString UptimePictureName(UptimePicture picture);
// A sentence saying what the state means, for the picture's description.
QString UptimePictureDescription(UptimePicture picture);
// The picture itself (240 x 48), drawn once per state.
QPixmap UptimePicturePixmap(UptimePicture picture);

} // namespace corvane
