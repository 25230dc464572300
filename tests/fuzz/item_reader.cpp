// The item reader over any text: every read takes at least one character, no item a line end.
#include "FuzzSupport.h"
#include "persist/ItemReader.h"
#include "persist/TextFile.h"

FUZZ_TARGET(bytes) {
    const QString text = FromNative({bytes.data(), bytes.size()});
    ItemReader reader(text);
    for (qsizetype reads = 1; !reader.AtEnd(); ++reads) {
        const QString item = reader.ReadItem();
        FUZZ_CHECK(!item.contains(u'\r') && !item.contains(u'\n') && reads <= text.size());
    }
}
