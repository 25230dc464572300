// The list files (servers, deploy paths), the history files and the one-line state files.
#pragma once

#include "persist/TextFile.h"
#include "platform/FileSystem.h"

#include <QString>
#include <QStringList>

namespace corvane {

// How many entries a list file holds, and how many lines a history file has.
constexpr int kMaxListEntries = 1000;
constexpr int kHistoryLines = 10;

struct ListItems {
    QStringList items; // the non-empty items among the first kMaxListEntries read
    int leftOut = 0;   // non-empty items after those, which were not taken
    TextEncoding encoding = TextEncoding::Native;
};

// --- Formats: pure functions over the text of a file. ---

// Reads up to kMaxListEntries items; empty items count towards the limit but are not kept.
ListItems ParseListFile(const QString& text);
// An entry holding a comma, or starting with a blank or tab, is enclosed in double quotes so that
// it reads back as itself; every other entry is written as it stands.
QString QuoteListEntry(const QString& entry);
// The first kMaxListEntries entries, one quoted line each, every line ended by CR LF.
QString FormatListFile(const QStringList& entries);
// Exactly kHistoryLines lines: the first entries, padded with empty lines.
QString FormatHistoryFile(const QStringList& entries);
// The first kHistoryLines non-empty lines, whole, line ends removed; the non-empty lines after
// them are only counted.
ListItems ParseHistoryFile(const QString& text);
// The first line, whole; empty for an empty text.
QString FirstLine(const QString& text);

// --- Files. Writers replace the file atomically: on failure the old file is still whole. ---

// Reads a list file. A missing file is error 53 and leaves the result empty. Each writer writes
// in the encoding given, the one its file was read in.
FileResult ReadListFile(FileSystem& fs, const QString& path, ListItems& result);
// An empty list deletes the file and leaves none.
FileResult WriteListFile(FileSystem& fs, const QString& path, const QStringList& entries,
                         TextEncoding encoding = TextEncoding::Native);
FileResult WriteHistoryFile(FileSystem& fs, const QString& path, const QStringList& entries,
                            TextEncoding encoding = TextEncoding::Native);
// A file of exactly one line holding the text.
FileResult WriteLineFile(FileSystem& fs, const QString& path, const QString& text,
                         TextEncoding encoding = TextEncoding::Native);

} // namespace corvane
