// Capture files read back whole or by their first item.
#include "runner/CaptureFile.h"

#include "persist/ItemReader.h"
#include "persist/TextFile.h"

namespace corvane {

QString CapturedText(FileSystem& files, const QString& path) {
    QString text;
    // A capture that cannot be read is no answer: the callers treat the empty text that way.
    static_cast<void>(ReadText(files, path, text));
    return text;
}

QString FirstCapturedItem(FileSystem& files, const QString& path) {
    ItemReader reader(CapturedText(files, path));
    return reader.AtEnd() ? QString() : reader.ReadItem();
}

} // namespace corvane
