// The Windows command-line reader: a program is never empty, a refusal says why, no NUL is made.
#include "FuzzSupport.h"
#include "platform/posix/WindowsCommandLine.h"

FUZZ_TARGET(line) {
    const bool nul = line.find('\0') != std::string_view::npos;
    for (const std::string& word : SplitWindowsCommandLine(line)) {
        FUZZ_CHECK(word.size() <= line.size() && (nul || word.find('\0') == std::string::npos));
    }
    const ParsedCommandLine parsed = ParseWindowsCommandLine(line);
    FUZZ_CHECK(!parsed.error.empty() ||
               (!parsed.words.empty() &&
                (!parsed.words.front().empty() || parsed.throughInterpreter ||
                 line.find('"') != std::string_view::npos) &&
                (!parsed.outputFile || parsed.throughInterpreter)));
}
