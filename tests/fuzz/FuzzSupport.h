// What the fuzz targets share: FUZZ_TARGET(bytes) { a body over the input as a std::string_view },
// a check that fails the run, and scratch files.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#define FUZZ_TARGET(bytes)                                                                         \
    static void FuzzOne(std::string_view bytes);                                                   \
    extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {           \
        return FuzzOne({reinterpret_cast<const char*>(data), size}), 0;                            \
    }                                                                                              \
    static void FuzzOne(std::string_view bytes)

// A property the code promises that does not hold: the input is a finding, as for a sanitizer.
#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? void() : (std::fputs("failed: " #condition "\n", stderr), std::abort()))

namespace corvane {}
using namespace corvane;

// Writes the bytes into the scratch file of that name, making its folders; its path. The scratch
// folder is the process's own, removed at exit, in memory where it can be: readers flush.
inline std::string ScratchFile(const std::string& name, std::string_view bytes) {
    static char shm[] = "/dev/shm/corvane-fuzz-XXXXXX", tmp[] = "/tmp/corvane-fuzz-XXXXXX";
    static const char* const dir = ::mkdtemp(shm) != nullptr ? shm : ::mkdtemp(tmp);
    static const int removal = std::atexit([] { std::filesystem::remove_all(dir); });
    FUZZ_CHECK(dir != nullptr && removal == 0);
    const std::filesystem::path path = std::string(dir) + "/" + name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return path.string();
}
