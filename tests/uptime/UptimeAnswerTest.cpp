// The report line made of each shape of answer the utility may leave in its capture file.
#include "QtPrinters.h"

#include "uptime/UptimeAnswer.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

TEST(UptimeAnswerTest, ReportLineFromEachShapeOfAnswer) {
    const QString up =
        QStringLiteral("\\\\SRV01 has been up for: 1 day(s), 2 hour(s), 3 minute(s), 4 second(s)");
    const struct {
        const char* server;
        QString capture;
        QString line;
    } cases[] = {
        {"SRV01", up + "\r\n", up},
        {"SRV01", "  " + up + "\n\n", up}, // leading blanks and trailing empty lines
        {"SRV01", QStringLiteral("\"a, b\",c,d,e\r\n"), QStringLiteral("a, b, c, d, e")},
        {"SRV01", QStringLiteral("UPTIME was unable to connect to host: \\\\SRV01\r\n"),
         QStringLiteral("Unable to connect to SRV01")},
        // The phrase is compared with the name as the list spells it, case and all.
        {"srv01", QStringLiteral("UPTIME was unable to connect to host: \\\\SRV01\r\n"),
         QStringLiteral("No uptime in the answer from srv01: UPTIME was unable to connect to "
                        "host: \\\\SRV01")},
        {"SRV01", QString(), QStringLiteral("No answer from SRV01")},
        {"SRV01", QStringLiteral(" \r\n\r\n"), QStringLiteral("No answer from SRV01")},
        {"SRV01", QStringLiteral("a, b, c\r\n"),
         QStringLiteral("No uptime in the answer from SRV01: a, b, c")},
        {"SRV01", QStringLiteral("a, b, c, d, e\r\n"),
         QStringLiteral("No uptime in the answer from SRV01: a, b, c, d, e")},
        {"SRV01", QStringLiteral("a, b\r\nc, d\r\n"),
         QStringLiteral("No uptime in the answer from SRV01: a, b")},
        {"SRV01", QStringLiteral(",b,c,d"),
         QStringLiteral("No uptime in the answer from SRV01: ,b,c,d")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UptimeReportLine(QString::fromLatin1(c.server), c.capture), c.line)
            << c.capture.toStdString();
    }
}

} // namespace
} // namespace corvane::test
