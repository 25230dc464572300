// A capture file as the probe and the uptime sweep read it: one line each, the report names SRV01.
#include "FuzzSupport.h"
#include "platform/NativeFileSystem.h"
#include "runner/CaptureFile.h"
#include "uptime/UptimeAnswer.h"

FUZZ_TARGET(bytes) {
    static const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
    const QString path = QString::fromStdString(ScratchFile("schedule.top", bytes));
    const QString line = UptimeReportLine(QStringLiteral("SRV01"), CapturedText(*fs, path));
    const QString both = FirstCapturedItem(*fs, path) + line; // the verdict, then the report
    FUZZ_CHECK(!both.contains(u'\r') && !both.contains(u'\n') &&
               (line.contains(u"SRV01") || line.count(QStringLiteral(", ")) >= 3));
}
