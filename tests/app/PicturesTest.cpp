// The pictures drawn in code look as approved (pictures/*.png). After a deliberate change of a
// picture, run this test with CORVANE_APPROVE_PICTURES=1 to write the files anew, and look at them.
#include "app/Logo.h"
#include "uptime/UptimePicture.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

TEST(PicturesTest, TheLogoAndTheUptimePicturesLookAsApproved) {
    const std::pair<const char*, QPixmap> pictures[] = {
        {"logo", LogoPixmap()},
        {"collecting", UptimePicturePixmap(UptimePicture::Collecting)},
        {"canceling", UptimePicturePixmap(UptimePicture::Canceling)},
        {"complete", UptimePicturePixmap(UptimePicture::Complete)},
        {"cancelled", UptimePicturePixmap(UptimePicture::Cancelled)}};
    for (const auto& [name, pixmap] : pictures) {
        const QString file = QStringLiteral(CORVANE_TESTS_DIR "/app/pictures/%1.png").arg(name);
        if (qEnvironmentVariableIsSet("CORVANE_APPROVE_PICTURES")) {
            pixmap.save(file);
        }
        EXPECT_EQ(pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  QImage(file).convertToFormat(QImage::Format_ARGB32_Premultiplied))
            << name;
    }
}

} // namespace
} // namespace corvane::test
