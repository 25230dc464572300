// Reading a Windows command line the way Windows and its command interpreter do, without running
// it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Splits a command line into arguments with the rules of CommandLineToArgvW:
// - the first word (the program) ends at the first blank or tab; when it begins with a double
//   quote it runs to the next double quote, and backslashes in it are plain characters;
// - in the other words, 2n backslashes before a double quote give n backslashes and the quote
//   opens or closes a quoted part; 2n+1 backslashes give n backslashes and a literal quote;
//   backslashes anywhere else are plain; a quoted part may begin or end mid-word;
// - inside a quoted part, two double quotes give one literal quote and end the quoted part.
// Leading blanks and tabs are skipped; an empty line gives no words.
std::vector<std::string> SplitWindowsCommandLine(std::string_view line);

// What a command line asks to run, as far as this program's command lines go.
struct ParsedCommandLine {
    // True for "cmd /c TOOL ARGS": the interpreter runs the tool and takes care of the
    // redirection. False for a line that names its program directly.
    bool throughInterpreter = false;
    // The program as the line spells it, then its arguments. Empty only with an error.
    std::vector<std::string> words;
    // The file that standard output is redirected into ("> FILE" through the interpreter).
    std::optional<std::string> outputFile;
    // Why the line cannot be run this way: interpreter syntax beyond one trailing "> FILE"
    // (&, |, <, ^, >>, a second redirection, text after the file), or no program at all.
    std::string error;
};

// Understands "cmd /c TOOL ARGS" (cmd and /c in any case, cmd.exe too) with one trailing
// redirection of standard output, "> "FILE"" or ">FILE"; the interpreter tracks double quotes
// without regard to backslashes, so a ">" is a redirection exactly when it is outside them.
// Any other line is split as it stands and started directly: there ">" is a plain argument.
ParsedCommandLine ParseWindowsCommandLine(std::string_view line);

} // namespace corvane
