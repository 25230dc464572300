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

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env = {});
pid_t StartProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& env = {}, const std::string& outputFile = {});
int WaitProgram(pid_t pid);

} // namespace corvane::test
