// Formats and atomic writers of the list, history and one-line state files.
#include "persist/ListFiles.h"

#include "persist/ItemReader.h"
#include "persist/TextFile.h"

#include <algorithm>

namespace corvane {
namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// The first CR or LF at or after `from`, or the end of the text. A plain scan: a regular
// expression checks the whole text again on every call, which a long history pays per line.
qsizetype LineEndFrom(const QString& text, qsizetype from) {
    const auto begin = text.cbegin() + from;
    return std::find_if(begin, text.cend(),
                        [](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }) -
           text.cbegin();
}

} // namespace

ListItems ParseListFile(const QString& text) {
    ListItems result;
    ItemReader reader(text);
    for (int read = 0; read < kMaxListEntries && !reader.AtEnd(); ++read) {
        QString item = reader.ReadItem();
        if (!item.isEmpty()) {
            result.items << item;
        }
    }
    while (!reader.AtEnd()) {
        if (!reader.ReadItem().isEmpty()) {
            ++result.leftOut;
        }
    }
    return result;
}

QString QuoteListEntry(const QString& entry) {
    const bool needsQuotes = entry.contains(QLatin1Char(',')) ||
                             entry.startsWith(QLatin1Char(' ')) ||
                             entry.startsWith(QLatin1Char('\t'));
    return needsQuotes ? QLatin1Char('"') + entry + QLatin1Char('"') : entry;
}

QString FormatListFile(const QStringList& entries) {
    QString text;
    const qsizetype count = std::min<qsizetype>(entries.size(), kMaxListEntries);
    for (qsizetype i = 0; i < count; ++i) {
        text += QuoteListEntry(entries[i]) + kLineEnd;
    }
    return text;
}

QString FormatHistoryFile(const QStringList& entries) {
    QString text;
    for (int i = 0; i < kHistoryLines; ++i) {
        text += (i < entries.size() ? entries[i] : QString()) + kLineEnd;
    }
    return text;
}

ListItems ParseHistoryFile(const QString& text) {
    // Line by line: an oversized history must not become millions of strings.
    ListItems result;
    for (qsizetype pos = 0; pos < text.size();) {
        const qsizetype end = LineEndFrom(text, pos);
        if (end > pos) {
            if (result.items.size() < kHistoryLines) {
                result.items << text.mid(pos, end - pos);
            } else {
                ++result.leftOut;
            }
        }
        pos = end + 1;
    }
    return result;
}

QString FirstLine(const QString& text) {
    return text.left(LineEndFrom(text, 0));
}

FileResult ReadListFile(FileSystem& fs, const QString& path, ListItems& result) {
    QString text;
    TextEncoding encoding = TextEncoding::Native;
    FileResult r = ReadText(fs, path, text, &encoding);
    result = r.ok() ? ParseListFile(text) : ListItems{};
    result.encoding = encoding;
    return r;
}

FileResult WriteListFile(FileSystem& fs, const QString& path, const QStringList& entries,
                         TextEncoding encoding) {
    if (entries.isEmpty()) {
        const FileResult r = fs.DeleteFile(PathBytes(path));
        return r.error == kFileNotFound ? FileResult{} : r;
    }
    return ReplaceText(fs, path, FormatListFile(entries), encoding);
}

FileResult WriteHistoryFile(FileSystem& fs, const QString& path, const QStringList& entries,
                            TextEncoding encoding) {
    return ReplaceText(fs, path, FormatHistoryFile(entries), encoding);
}

FileResult WriteLineFile(FileSystem& fs, const QString& path, const QString& text,
                         TextEncoding encoding) {
    return ReplaceText(fs, path, text + kLineEnd, encoding);
}

} // namespace corvane
