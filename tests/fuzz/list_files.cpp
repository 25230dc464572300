// The list and history files as the program reads them from disk: a list never holds more than
// its limit or an empty entry, and what it writes back reads back as the same list.
#include "FuzzSupport.h"
#include "persist/ListFiles.h"
#include "persist/TextFile.h"
#include "platform/NativeFileSystem.h"

#include <cstdint>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
    static const QString path = QString::fromStdString(fuzz::Scratch() + "/computerlist.txt");
    fuzz::WriteBytes(path.toStdString(), {reinterpret_cast<const char*>(data), size});

    ListItems list;
    if (ReadListFile(*fs, path, list).ok()) {
        FUZZ_CHECK(list.items.size() <= kMaxListEntries);
        FUZZ_CHECK(!list.items.contains(QString()));
        const ListItems again = ParseListFile(FormatListFile(list.items));
        FUZZ_CHECK(again.items == list.items && again.leftOut == 0);
    }

    QString text;
    if (ReadText(*fs, path, text).ok()) {
        const QStringList history = ParseHistoryFile(text).items;
        FUZZ_CHECK(history.size() <= kHistoryLines);
        for (const QString& line : history) {
            FUZZ_CHECK(!line.isEmpty() && !line.contains(u'\r') && !line.contains(u'\n'));
        }
        FUZZ_CHECK(!FirstLine(text).contains(u'\n'));
        FUZZ_CHECK(ParseHistoryFile(FormatHistoryFile(history)).items == history);
    }
    return 0;
}
