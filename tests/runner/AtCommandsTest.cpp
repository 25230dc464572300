// The AT command lines and the server-name rule they are built under.
#include "runner/AtCommands.h"
#include "runner/ServerName.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(ServerNameTest, OnlyPlainAsciiNamesAreSafe) {
    const struct {
        const char16_t* name;
        bool safe;
    } cases[] = {
        {u"SRV01", true},      {u"srv-01_a.corp.example", true},
        {u"ADMIN$", true},     {u"0", true},
        {u"", false},          {u"SRV 01", false},
        {u"SRV&calc", false},  {u"SRV|x", false},
        {u"SRV<x", false},     {u"SRV>x", false},
        {u"SRV^x", false},     {u"%TEMP%", false},
        {u"\"SRV\"", false},   {u"SRV,2", false},
        {u"\\\\SRV", false},   {u"SRV/x", false},
        {u"SRV\tx", false},    {u"SRV\r\n", false},
        {u"SRV;x", false},     {u"SRV(1)", false},
        {u"SRV\u00c9", false}, {u"SRV\uff21", false},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromUtf16(c.name);
        EXPECT_EQ(IsSafeServerName(name), c.safe) << name.toStdString();
    }
}

TEST(AtCommandsTest, BuildsTheFourLinesExactly) {
    const QString srv = QStringLiteral("SRV01");
    EXPECT_EQ(AtScheduleLine(srv, QStringLiteral("7:05PM"), QStringLiteral("/every:M,T"),
                             QStringLiteral("\"C:\\Program Files\\x.exe\" /q")),
              QStringLiteral("at \\\\SRV01 7:05PM /every:M,T \"C:\\Program Files\\x.exe\" /q"));
    EXPECT_EQ(AtScheduleLine(srv, QStringLiteral("7:5AM"), QString(), QStringLiteral("a.exe")),
              QStringLiteral("at \\\\SRV01 7:5AM  a.exe"));
    EXPECT_EQ(AtListCommand(srv), QStringLiteral("AT \\\\SRV01"));
    EXPECT_EQ(AtProbeCommand(srv), QStringLiteral("AT \\\\SRV01"));
    EXPECT_EQ(AtDeleteCommand(srv, QStringLiteral("3")),
              QStringLiteral("AT \\\\SRV01 3 /Delete /Yes"));
}

TEST(AtCommandsTest, BuildsNothingForAnUnsafeServerOrJobId) {
    const QString bad = QStringLiteral("SRV&calc");
    const QString any = QStringLiteral("x");
    EXPECT_EQ(AtScheduleLine(bad, any, any, any), std::nullopt);
    EXPECT_EQ(AtListCommand(bad), std::nullopt);
    EXPECT_EQ(AtProbeCommand(QString()), std::nullopt);
    EXPECT_EQ(AtDeleteCommand(bad, QStringLiteral("1")), std::nullopt);
    for (const char* id : {"", "1 & calc", "-1", "1e3", " 1", "\xd9\xa3"}) {
        EXPECT_EQ(AtDeleteCommand(QStringLiteral("SRV01"), QString::fromUtf8(id)), std::nullopt)
            << id;
    }
}

} // namespace
} // namespace corvane
