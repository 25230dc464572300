// The report line made of each shape of answer the utility may leave in its capture file.
#include "QtPrinters.h"

#include "uptime/UptimeAnswer.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

TEST(UptimeAnswerTest, ReportLineFromEachShapeOfAnswer) {
    const QString up = "\\\\SRV01 has been up for: 1 day(s), 2 hour(s), 3 minute(s), 4 second(s)";
    const QString refused = "UPTIME was unable to connect to host: \\\\SRV01";
    const auto odd = [](const QString& first) { return "No uptime in the answer from " + first; };
    const struct {
        QString server;
        QString capture;
        QString line;
    } cases[] = {
        {"SRV01", up + "\r\n", up},
        {"SRV01", "  " + up + "\n\n", up}, // leading blanks and trailing empty lines
        {"SRV01", "\"a, b\",c,d,e\r\n", "a, b, c, d, e"},
        {"SRV01", refused + "\r\n", "Unable to connect to SRV01"},
        // The phrase is compared with the name as the list spells it, case and all.
        {"srv01", refused + "\r\n", odd("srv01: " + refused)},
        {"SRV01", "", "No answer from SRV01"},
        {"SRV01", " \r\n\r\n", "No answer from SRV01"},
        {"SRV01", "a, b, c\r\n", odd("SRV01: a, b, c")},
        {"SRV01", "a, b, c, d, e\r\n", odd("SRV01: a, b, c, d, e")},
        {"SRV01", "a, b\r\nc, d\r\n", odd("SRV01: a, b")},
        {"SRV01", ",b,c,d", odd("SRV01: ,b,c,d")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UptimeReportLine(c.server, c.capture), c.line) << c.capture.toStdString();
    }
}

} // namespace
} // namespace corvane::test
