// The AT command lines, and the server names and job IDs that may reach one.
#include "runner/AtCommands.h"
#include "runner/ServerName.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(AtCommandsTest, BuildsTheFourLinesExactly) {
    const QString srv = QStringLiteral("SRV01");
    EXPECT_EQ(
        QStringList(
            {AtScheduleLine(srv, "7:05PM", "/every:M,T", "\"C:\\Program Files\\x.exe\" /q").value(),
             AtScheduleLine(srv, "7:5AM", QString(), "a.exe").value(), AtListCommand(srv).value(),
             AtProbeCommand(srv).value(), AtDeleteCommand(srv, "3").value()}),
        QStringList({"at \\\\SRV01 7:05PM /every:M,T \"C:\\Program Files\\x.exe\" /q",
                     "at \\\\SRV01 7:5AM  a.exe", "AT \\\\SRV01", "AT \\\\SRV01",
                     "AT \\\\SRV01 3 /Delete /Yes"}));
}

// Only plain ASCII names are safe, and no line is built with any other name or a job ID that is
// not a plain number.
TEST(AtCommandsTest, BuildsNothingForAnUnsafeServerOrJobId) {
    for (const char16_t* name : {u"SRV01", u"srv-01_a.corp.example", u"ADMIN$", u"0"}) {
        EXPECT_TRUE(IsSafeServerName(QString::fromUtf16(name)));
    }
    for (const char16_t* name :
         {u"", u"SRV 01", u"SRV&calc", u"SRV|x", u"SRV<x", u"SRV>x", u"SRV^x", u"%TEMP%",
          u"\"SRV\"", u"SRV,2", u"\\\\SRV", u"SRV/x", u"SRV\tx", u"SRV\r\n", u"SRV;x", u"SRV(1)",
          u"SRV\u00c9", u"SRV\uff21"}) {
        const QString bad = QString::fromUtf16(name);
        EXPECT_FALSE(IsSafeServerName(bad) || AtScheduleLine(bad, "1:00", "", "x") ||
                     AtListCommand(bad) || AtProbeCommand(bad) || AtDeleteCommand(bad, "1"))
            << bad.toStdString();
    }
    for (const char* id : {"", "1 & calc", "-1", "1e3", " 1", "\xd9\xa3"}) {
        EXPECT_EQ(AtDeleteCommand(QStringLiteral("SRV01"), QString::fromUtf8(id)), std::nullopt)
            << id;
    }
}

} // namespace
} // namespace corvane
