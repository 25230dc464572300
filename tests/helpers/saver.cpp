// Test helper: saves PATH again and again through the program's own file replacement, in turn
// with the bytes of FILE_A and FILE_B, and writes one byte to standard output once the first save
// is whole. It runs until killed (or for a minute, so that a failed test leaves nothing behind).
#include "platform/NativeFileSystem.h"

#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

static std::string Bytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int main(int argc, char** argv) {
    if (argc != 4) {
        return 2;
    }
    const std::string contents[] = {Bytes(argv[2]), Bytes(argv[3])};
    const auto files = corvane::MakeNativeFileSystem();
    alarm(60);
    for (unsigned i = 0; files->ReplaceFile(argv[1], contents[i % 2]).ok(); ++i) {
        if (i == 0 && write(STDOUT_FILENO, "r", 1) != 1) {
            return 1;
        }
    }
    return 1;
}
