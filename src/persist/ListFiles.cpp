// Formats and atomic writers of the list, history and one-line state files.
#include "persist/ListFiles.h"

#include "persist/ItemReader.h"
#include "persist/TextFile.h"

#include <QRegularExpression>

namespace corvane {
namespace {

const QString kLineEnd = QStringLiteral("\r\n");

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

QStringList ParseHistoryFile(const QString& text) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineEnd);
    lines.removeAll(QString());
    return lines;
}

QString FirstLine(const QString& text) {
    static const QRegularExpression lineEnd(QStringLiteral("[\r\n]"));
    const qsizetype end = text.indexOf(lineEnd);
    return end < 0 ? text : text.left(end);
}

FileResult ReadListFile(FileSystem& fs, const QString& path, ListItems& result) {
    QString text;
    const FileResult r = ReadText(fs, path, text);
    result = r.ok() ? ParseListFile(text) : ListItems{};
    return r;
}

FileResult WriteListFile(FileSystem& fs, const QString& path, const QStringList& entries) {
    if (entries.isEmpty()) {
        const FileResult r = fs.DeleteFile(PathBytes(path));
        return r.error == kFileNotFound ? FileResult{} : r;
    }
    return ReplaceText(fs, path, FormatListFile(entries));
}

FileResult WriteHistoryFile(FileSystem& fs, const QString& path, const QStringList& entries) {
    return ReplaceText(fs, path, FormatHistoryFile(entries));
}

FileResult WriteLineFile(FileSystem& fs, const QString& path, const QString& text) {
    return ReplaceText(fs, path, text + kLineEnd);
}

} // namespace corvane
