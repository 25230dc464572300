// Conversions between file bytes and strings, and whole-file reads and replacements.
#include "persist/TextFile.h"

namespace corvane {

std::string ToNative(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

QString FromNative(std::string_view bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string PathBytes(const QString& path) {
    return path.toStdString();
}

QString FromPathBytes(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void AppendPathAsText(std::string& line, std::string_view path) {
    // Where the text encoding is UTF-8 too (Linux), the bytes go as they are: a report holds
    // hundreds of thousands of paths.
    static const bool textIsUtf8 = [] {
        const QString probe(QChar(0x00E9));
        return probe.toLocal8Bit() == probe.toUtf8();
    }();
    if (textIsUtf8) {
        line.append(path);
    } else {
        line.append(ToNative(FromPathBytes(path)));
    }
}

QString ReasonText(const FileResult& result) {
    return result.reason.empty() ? QStringLiteral("error %1").arg(result.error)
                                 : FromPathBytes(result.reason);
}

void CreateIfMissing(FileSystem& fs, const QString& path) {
    const std::string native = PathBytes(path);
    if (fs.Search(native, false).name.empty()) {
        // Only a courtesy to whoever looks for the file: its list has already been saved or said.
        static_cast<void>(fs.CreateEmptyFile(native));
    }
}

FileResult ReadText(FileSystem& fs, const QString& path, QString& text) {
    std::string bytes;
    const FileResult r = fs.ReadTextFile(PathBytes(path), bytes, kMaxListFileSize);
    text = r.ok() ? FromNative(bytes) : QString();
    return r;
}

FileResult ReplaceText(FileSystem& fs, const QString& path, const QString& text) {
    const std::string native = PathBytes(path);
    const std::string bytes = ToNative(text);
    // A file that already holds these bytes is left alone: most files are unchanged at exit,
    // and each replacement costs a flush to disk.
    std::string current;
    if (fs.ReadTextFile(native, current, kMaxListFileSize).ok() && current == bytes) {
        return {};
    }
    return fs.ReplaceFile(native, bytes);
}

} // namespace corvane
