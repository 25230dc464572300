// List and history files read from disk: within their limits, no empty entry, written back alike.
#include "FuzzSupport.h"
#include "persist/ListFiles.h"
#include "persist/TextFile.h"
#include "platform/NativeFileSystem.h"

FUZZ_TARGET(bytes) {
    static const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
    const QString path = QString::fromStdString(ScratchFile("computerlist.txt", bytes));
    ListItems list;
    if (ReadListFile(*fs, path, list).ok()) {
        const ListItems again = ParseListFile(FormatListFile(list.items));
        FUZZ_CHECK(list.items.size() <= kMaxListEntries && !list.items.contains(QString()) &&
                   again.items == list.items && again.leftOut == 0);
    }
    QString text;
    if (ReadText(*fs, path, text).ok()) {
        const QStringList history = ParseHistoryFile(text).items;
        const QString joined = history.join(QString());
        FUZZ_CHECK(history.size() <= kHistoryLines && !history.contains(QString()) &&
                   !joined.contains(u'\r') && !joined.contains(u'\n') &&
                   !FirstLine(text).contains(u'\n') &&
                   ParseHistoryFile(FormatHistoryFile(history)).items == history);
    }
}
