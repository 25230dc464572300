// Reading and filling list boxes the way the handlers expect.
#pragma once

#include <QString>
#include <QStringList>

class QListWidget;

namespace corvane {

// The text of the entry at the index; the empty text past the end (and before the start).
QString EntryText(const QListWidget& list, int index);

// All entries, in list order.
QStringList Entries(const QListWidget& list);

// Inserts the text at its place in a list kept sorted without regard to case, after any entries
// that compare equal to it.
void InsertSorted(QListWidget& list, const QString& text);

// The first `shown` texts one per line (CR LF between them), then how many more there were: long
// lists of servers in a message box.
QString ListBlock(const QStringList& lines, int shown = 20);

// False for an entry the list files cannot carry: a double quote would be read as quoting and a
// line break would split the entry on the next start; no control character belongs in a name.
bool FitsListFile(const QString& entry);
// The entry for a message: its control characters shown as their code (\x0A), so that a line
// break pasted into it cannot hide.
QString ShownEntry(const QString& entry);

// The file name of a path: the text after its last separator (\ or /), or the whole text.
QString FileNameOf(const QString& path);

} // namespace corvane
