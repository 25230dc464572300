// Conversions between file bytes and strings, and whole-file reads and replacements.
#include "persist/TextFile.h"

namespace corvane {

std::string ToNative(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

QString FromNative(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

FileResult ReadText(FileSystem& fs, const QString& path, QString& text) {
    std::string bytes;
    const FileResult r = fs.ReadTextFile(ToNative(path), bytes);
    text = r.ok() ? FromNative(bytes) : QString();
    return r;
}

FileResult ReplaceText(FileSystem& fs, const QString& path, const QString& text) {
    return fs.ReplaceFile(ToNative(path), ToNative(text));
}

} // namespace corvane
