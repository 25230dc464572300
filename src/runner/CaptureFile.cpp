// Capture files read back whole or by their first item.
#include "runner/CaptureFile.h"

#include "persist/ItemReader.h"
#include "persist/TextFile.h"

namespace corvane {

QString CapturedText(FileSystem& files, const QString& path) {
    QString text;
    ReadText(files, path, text);
    return text;
}

QString FirstCapturedItem(FileSystem& files, const QString& path) {
    ItemReader reader(CapturedText(files, path));
    return reader.AtEnd() ? QString() : reader.ReadItem();
}

} // namespace corvane
