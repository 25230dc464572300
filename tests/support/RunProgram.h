// Runs a program as a real process for a test: given arguments and environment, output captured.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace corvane::test {

struct ProgramResult {
    int status = -1; // the exit status, or 128 + the signal that ended the program
    std::string out; // everything it wrote to standard output
};

// Starts program with args and the test's environment plus env ("NAME=VALUE" entries replace
// those of the same name); standard input is /dev/null, standard error the test's. No shell.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env = {});
// The same without waiting, standard output to outputFile (or /dev/null). The process ID, or -1.
pid_t StartProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& env = {}, const std::string& outputFile = {});
// Waits for a started program; its status as in ProgramResult.
int WaitProgram(pid_t pid);

} // namespace corvane::test
