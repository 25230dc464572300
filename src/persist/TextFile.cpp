// Conversions between file bytes and strings, and whole-file reads and replacements.
#include "persist/TextFile.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>

namespace corvane {
namespace {

bool TextIsUtf8() {
    static const bool utf8 = [] {
        const QString probe(QChar(0x00E9));
        return probe.toLocal8Bit() == probe.toUtf8();
    }();
    return utf8;
}

bool IsUtf8(std::string_view bytes) {
    // Plain ASCII, as most files and every capture are, needs no decoding to tell.
    if (std::all_of(bytes.begin(), bytes.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return true;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // The decoding runs only when its result is taken.
    const QString decoded = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return !decoder.hasError();
}

// 0x80 to 0x9F; the five bytes Windows-1252 leaves undefined map to the C1 controls, as Windows
// maps them, so that they too come back as they were.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

QString FromWindows1252(std::string_view bytes) {
    QString text(qsizetype(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t(b));
    }
    return text;
}

bool ToWindows1252(const QString& text, std::string& bytes) {
    bytes.clear();
    bytes.reserve(std::size_t(text.size()));
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
            bytes += char(u);
            continue;
        }
        const auto* found = std::find(kHighControls.begin(), kHighControls.end(), u);
        if (found == kHighControls.end()) {
            return false;
        }
        bytes += char(0x80 + (found - kHighControls.begin()));
    }
    return true;
}

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
    if (TextIsUtf8()) {
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

FileResult ReadText(FileSystem& fs, const QString& path, QString& text, TextEncoding* encoding) {
    std::string bytes;
    FileResult r = fs.ReadTextFile(PathBytes(path), bytes, kMaxListFileSize);
    const bool ansi = r.ok() && TextIsUtf8() && !IsUtf8(bytes);
    text = !r.ok() ? QString() : ansi ? FromWindows1252(bytes) : FromNative(bytes);
    if (encoding != nullptr) {
        *encoding = ansi ? TextEncoding::Windows1252 : TextEncoding::Native;
    }
    return r;
}

FileResult ReplaceText(FileSystem& fs, const QString& path, const QString& text,
                       TextEncoding encoding) {
    const std::string native = PathBytes(path);
    std::string bytes;
    if (encoding != TextEncoding::Windows1252 || !ToWindows1252(text, bytes)) {
        bytes = ToNative(text);
    }
    // A file that already holds these bytes is left alone: most files are unchanged at exit,
    // and each replacement costs a flush to disk.
    std::string current;
    if (fs.ReadTextFile(native, current, kMaxListFileSize).ok() && current == bytes) {
        return {};
    }
    return fs.ReplaceFile(native, bytes);
}

} // namespace corvane
