// Reading Windows command lines: the argument rules, and cmd /c with its one redirection.
#include "platform/posix/WindowsCommandLine.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using Words = std::vector<std::string>;

struct SplitCase {
    const char* line;
    Words words;
};

TEST(WindowsCommandLineTest, SplitsAsWindowsDoes) {
    const SplitCase cases[] = {
        {"", {}},
        {"  \t ", {}},
        {"a b  c", {"a", "b", "c"}},
        {"  a\tb ", {"a", "b"}},
        // The program word: quoted up to the next quote, backslashes plain.
        {R"("C:\Program Files\x.exe" /q)", {R"(C:\Program Files\x.exe)", "/q"}},
        {R"("a b"c d)", {"a b", "c", "d"}},
        {R"(p\" x)", {R"(p\")", "x"}},
        // Arguments: blanks inside quotes, quotes mid-word.
        {R"(p "a b" c)", {"p", "a b", "c"}},
        {R"(p a"b c"d)", {"p", "ab cd"}},
        {R"(p "unclosed arg)", {"p", "unclosed arg"}},
        {R"(p "")", {"p", ""}},
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
    for (const SplitCase& c : cases) {
        EXPECT_EQ(SplitWindowsCommandLine(c.line), c.words) << c.line;
    }
}

struct ParseCase {
    const char* line;
    bool throughInterpreter;
    Words words;
    const char* outputFile; // nullptr: no redirection
};

TEST(WindowsCommandLineTest, ReadsInterpreterLinesAndDirectOnes) {
    const ParseCase cases[] = {
        {R"(cmd /c AT \\SRV01 > "C:\Tools\Admin\schedule.top")",
         true,
         {"AT", R"(\\SRV01)"},
         R"(C:\Tools\Admin\schedule.top)"},
        {R"(cmd /c AT \\SRV01 3 /Delete /Yes)",
         true,
         {"AT", R"(\\SRV01)", "3", "/Delete", "/Yes"},
         nullptr},
        {R"(CMD.EXE /C uptime \\S >out.top  )", true, {"uptime", R"(\\S)"}, "out.top"},
        {R"(cmd /c tool a>"/tmp/App Dir/x.top")", true, {"tool", "a"}, "/tmp/App Dir/x.top"},
        {R"(cmd /c tool 1> f)", true, {"tool"}, "f"},
        {R"(cmd /c tool SRV1> f)", true, {"tool", "SRV1"}, "f"},
        // Quoted, the interpreter's characters are plain text.
        {R"(cmd /c tool "a > b" "&|<^" > f)", true, {"tool", "a > b", "&|<^"}, "f"},
        // Started directly, nothing is a redirection; empty days leave two blanks.
        {R"(at \\SRV 7:05PM  notepad.exe > x)",
         false,
         {"at", R"(\\SRV)", "7:05PM", "notepad.exe", ">", "x"},
         nullptr},
    };
    for (const ParseCase& c : cases) {
        const ParsedCommandLine parsed = ParseWindowsCommandLine(c.line);
        EXPECT_EQ(parsed.error, "") << c.line;
        EXPECT_EQ(parsed.throughInterpreter, c.throughInterpreter) << c.line;
        EXPECT_EQ(parsed.words, c.words) << c.line;
        EXPECT_EQ(parsed.outputFile.value_or("(none)"), c.outputFile ? c.outputFile : "(none)")
            << c.line;
    }
}

TEST(WindowsCommandLineTest, RefusesWhatTheInterpreterWouldReadDifferently) {
    const char* const lines[] = {
        "cmd /c a & b",     "cmd /c a | b",      "cmd /c a < in", "cmd /c a ^& b", "cmd /c a >> f",
        "cmd /c a > f > g", "cmd /c a > f more", "cmd /c a 2> f", "cmd /c a >",    "cmd /c > f",
        "cmd /c",           "cmd /k a",          "cmd a",         "cmd /ca",       "",
        "\"\" x",
    };
    for (const char* line : lines) {
        const ParsedCommandLine parsed = ParseWindowsCommandLine(line);
        EXPECT_NE(parsed.error, "") << line;
        EXPECT_TRUE(parsed.words.empty()) << line;
    }
}

} // namespace
} // namespace corvane
