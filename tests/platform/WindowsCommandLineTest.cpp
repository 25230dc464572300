// Reading Windows command lines: the argument rules, and a line that names its program directly.
#include "platform/posix/WindowsCommandLine.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using Words = std::vector<std::string>;

TEST(WindowsCommandLineTest, SplitsAsWindowsDoes) {
    const std::pair<const char*, Words> cases[] = {
        {"", {}},
        {"a b  c", {"a", "b", "c"}},
        {"  a\tb ", {"a", "b"}},
        // The program word: quoted up to the next quote, backslashes plain.
        {R"("C:\Program Files\x.exe" /q)", {R"(C:\Program Files\x.exe)", "/q"}},
        {R"("a b"c d)", {"a b", "c", "d"}},
        {R"(p\" x)", {R"(p\")", "x"}},
        // Arguments: blanks inside quotes, quotes mid-word.
        {R"(p a"b c"d)", {"p", "ab cd"}},
        {R"(p "unclosed arg)", {"p", "unclosed arg"}},
        // Backslashes: plain unless before a quote.
        {R"(p \\SRV01\C$\dir\)", {"p", R"(\\SRV01\C$\dir\)"}},
        {R"(p a\"b)", {"p", R"(a"b)"}},
        {R"(p a\\"b c")", {"p", R"(a\b c)"}},
        {R"(p a\\\"b)", {"p", R"(a\"b)"}},
        {R"(p "C:\dir\\" next)", {"p", R"(C:\dir\)", "next"}},
        {R"(p "C:\dir\" next)", {"p", R"(C:\dir" next)"}},
        // Doubled quotes inside a quoted part: one quote, and the quoted part ends.
        {R"(p "a""b")", {"p", R"(a"b)"}},
        {R"(p "a""b c")", {"p", R"(a"b)", "c"}},
    };
    for (const auto& [line, words] : cases) {
        EXPECT_EQ(SplitWindowsCommandLine(line), words) << line;
    }
}

// Interpreter lines and the ones refused are read through Launch, in ProcessesPosixTest.
TEST(WindowsCommandLineTest, StartedDirectlyNothingIsARedirection) {
    const ParsedCommandLine direct = ParseWindowsCommandLine(R"(at \\SRV 7:05PM  notepad.exe > x)");
    EXPECT_TRUE(!direct.throughInterpreter && !direct.outputFile && direct.error.empty() &&
                (direct.words == Words{"at", R"(\\SRV)", "7:05PM", "notepad.exe", ">", "x"}));
}

} // namespace
} // namespace corvane
