// The item reader over any text: every read moves on, and no item holds a line end.
#include "FuzzSupport.h"
#include "persist/ItemReader.h"
#include "persist/TextFile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = corvane::FromNative({reinterpret_cast<const char*>(data), size});
    corvane::ItemReader reader(text);
    qsizetype reads = 0;
    while (!reader.AtEnd()) {
        const QString item = reader.ReadItem();
        FUZZ_CHECK(!item.contains(u'\r') && !item.contains(u'\n'));
        // Each read consumes at least one character, so there are never more reads than those.
        FUZZ_CHECK(++reads <= text.size());
    }
    return 0;
}
