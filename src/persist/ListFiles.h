// The list files (servers, deploy paths), the history files and the one-line state files.
#pragma once

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
// Every non-empty line, whole, line ends removed.
QStringList ParseHistoryFile(const QString& text);
// The first line, whole; empty for an empty text.
QString FirstLine(const QString& text);

// --- Files. Writers replace the file atomically: on failure the old file is still whole. ---

// Reads a list file. A missing file is error 53 and leaves the result empty.
FileResult ReadListFile(FileSystem& fs, const QString& path, ListItems& result);
// An empty list deletes the file and leaves none.
FileResult WriteListFile(FileSystem& fs, const QString& path, const QStringList& entries);
FileResult WriteHistoryFile(FileSystem& fs, const QString& path, const QStringList& entries);
// A file of exactly one line holding the text.
FileResult WriteLineFile(FileSystem& fs, const QString& path, const QString& text);

} // namespace corvane
