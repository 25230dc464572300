// Windows command-line splitting and the part of cmd's syntax this program's lines use.
#include "platform/posix/WindowsCommandLine.h"

#include <cctype>

namespace corvane {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view SkipBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    return s;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The program word: up to a blank, or from a quote to the next quote. Returns the rest.
std::string_view TakeProgramWord(std::string_view s, std::string& word) {
    if (!s.empty() && s.front() == '"') {
        const size_t close = s.find('"', 1);
        word.assign(
            s.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        return close == std::string_view::npos ? std::string_view{} : s.substr(close + 1);
    }
    size_t end = 0;
    while (end < s.size() && !IsBlank(s[end])) {
        ++end;
    }
    word.assign(s.substr(0, end));
    return s.substr(end);
}

// The words after the program: backslash and quote rules as in the header.
void SplitArguments(std::string_view s, std::vector<std::string>& words) {
    std::string word;
    bool inWord = false;
    int quotes = 0;     // 1 inside a quoted part; reaching 3 emits a literal quote
    size_t slashes = 0; // backslashes just before the current character
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (IsBlank(c) && quotes == 0) {
            if (inWord) {
                words.push_back(word);
                word.clear();
                inWord = false;
            }
            slashes = 0;
            continue;
        }
        inWord = true;
        if (c == '\\') {
            word += c;
            ++slashes;
            continue;
        }
        if (c != '"') {
            word += c;
            slashes = 0;
            continue;
        }
        word.resize(word.size() - (slashes + 1) / 2);
        if (slashes % 2 == 1) {
            word += '"';
        } else {
            ++quotes;
        }
        slashes = 0;
        while (i + 1 < s.size() && s[i + 1] == '"') {
            ++i;
            if (++quotes == 3) {
                word += '"';
                quotes = 0;
            }
        }
        if (quotes == 2) {
            quotes = 0;
        }
    }
    if (inWord) {
        words.push_back(word);
    }
}

ParsedCommandLine Failure(std::string why) {
    ParsedCommandLine parsed;
    parsed.error = std::move(why);
    return parsed;
}

// The redirection target: one token of the interpreter (blanks inside quotes kept, the quotes
// removed), followed by nothing but blanks.
bool TakeTarget(std::string_view s, std::string& file) {
    s = SkipBlanks(s);
    bool quoted = false;
    size_t i = 0;
    for (; i < s.size() && (quoted || !IsBlank(s[i])); ++i) {
        if (s[i] == '"') {
            quoted = !quoted;
        } else {
            file += s[i];
        }
    }
    return SkipBlanks(s.substr(i)).empty();
}

ParsedCommandLine ParseInterpreterCommand(std::string_view rest) {
    // cmd knows no backslash escapes: every double quote opens or closes a quoted part.
    bool quoted = false;
    size_t redirect = std::string_view::npos;
    for (size_t i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == '&' || c == '|' || c == '<' || c == '^') {
            return Failure(std::string("the interpreter's '") + c + "' is not supported");
        } else if (c == '>') {
            if (redirect != std::string_view::npos) {
                return Failure("only one redirection is supported");
            }
            if (i + 1 < rest.size() && rest[i + 1] == '>') {
                return Failure("appending redirection '>>' is not supported");
            }
            redirect = i;
        }
    }

    ParsedCommandLine parsed;
    parsed.throughInterpreter = true;
    std::string_view tool = rest;
    if (redirect != std::string_view::npos) {
        tool = rest.substr(0, redirect);
        // "N>" with N standing alone names the handle; only 1 (standard output) is supported.
        if (!tool.empty() && std::isdigit(static_cast<unsigned char>(tool.back())) &&
            (tool.size() == 1 || IsBlank(tool[tool.size() - 2]))) {
            if (tool.back() != '1') {
                return Failure(std::string("redirection of handle ") + tool.back() +
                               " is not supported");
            }
            tool.remove_suffix(1);
        }
        std::string file;
        if (!TakeTarget(rest.substr(redirect + 1), file)) {
            return Failure("the redirection must be the last thing on the line");
        }
        if (file.empty()) {
            return Failure("the redirection names no file");
        }
        parsed.outputFile = std::move(file);
    }
    // The blanks before the redirection are not the tool's: a quote reopened by "" at the end
    // of the last argument would otherwise take them in.
    while (!tool.empty() && IsBlank(tool.back())) {
        tool.remove_suffix(1);
    }
    std::string program;
    const std::string_view args = TakeProgramWord(SkipBlanks(tool), program);
    if (program.empty()) {
        return Failure("the interpreter was given no program to run");
    }
    parsed.words.push_back(std::move(program));
    SplitArguments(args, parsed.words);
    return parsed;
}

} // namespace

std::vector<std::string> SplitWindowsCommandLine(std::string_view line) {
    std::vector<std::string> words;
    line = SkipBlanks(line);
    if (line.empty()) {
        return words;
    }
    std::string program;
    const std::string_view rest = TakeProgramWord(line, program);
    words.push_back(std::move(program));
    SplitArguments(rest, words);
    return words;
}

ParsedCommandLine ParseWindowsCommandLine(std::string_view line) {
    std::string program;
    std::string_view rest = TakeProgramWord(SkipBlanks(line), program);
    if (EqualsIgnoringCase(program, "cmd") || EqualsIgnoringCase(program, "cmd.exe")) {
        rest = SkipBlanks(rest);
        if (rest.size() < 2 || !EqualsIgnoringCase(rest.substr(0, 2), "/c") ||
            (rest.size() > 2 && !IsBlank(rest[2]))) {
            return Failure("only \"cmd /c\" is supported");
        }
        return ParseInterpreterCommand(SkipBlanks(rest.substr(2)));
    }
    ParsedCommandLine parsed;
    parsed.words = SplitWindowsCommandLine(line);
    if (parsed.words.empty() || parsed.words.front().empty()) {
        return Failure("the command line names no program");
    }
    return parsed;
}

} // namespace corvane
