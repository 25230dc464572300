// The Windows command-line reader over any line: the program of a parsed line is never empty, a
// line it refuses says why, and no word holds a NUL it was not given.
#include "FuzzSupport.h"
#include "platform/posix/WindowsCommandLine.h"

#include <algorithm>
#include <cstdint>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const bool nul = line.find('\0') != std::string_view::npos;
    for (const std::string& word : SplitWindowsCommandLine(line)) {
        FUZZ_CHECK(word.size() <= line.size());
        FUZZ_CHECK(nul || word.find('\0') == std::string::npos);
    }
    const ParsedCommandLine parsed = ParseWindowsCommandLine(line);
    FUZZ_CHECK(!parsed.error.empty() || !parsed.words.empty());
    if (parsed.error.empty()) {
        FUZZ_CHECK(!parsed.words.front().empty() || parsed.throughInterpreter ||
                   line.find('"') != std::string_view::npos);
        FUZZ_CHECK(!parsed.outputFile || parsed.throughInterpreter);
    }
    return 0;
}
