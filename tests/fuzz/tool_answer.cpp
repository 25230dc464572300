// What a tool wrote into its capture file, read as the validation probe and the uptime sweep read
// it: the probe's verdict is one item of one line, and the report line is one line that names the
// server.
#include "FuzzSupport.h"
#include "platform/NativeFileSystem.h"
#include "runner/CaptureFile.h"
#include "uptime/UptimeAnswer.h"

#include <cstdint>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
    static const QString path = QString::fromStdString(fuzz::Scratch() + "/schedule.top");
    fuzz::WriteBytes(path.toStdString(), {reinterpret_cast<const char*>(data), size});

    const QString verdict = FirstCapturedItem(*fs, path);
    FUZZ_CHECK(!verdict.contains(u'\r') && !verdict.contains(u'\n'));

    const QString server = QStringLiteral("SRV01");
    const QString line = UptimeReportLine(server, CapturedText(*fs, path));
    FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
    FUZZ_CHECK(line.contains(server) || line.count(QStringLiteral(", ")) >= 3);
    return 0;
}
