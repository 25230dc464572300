// What the fuzz targets share: a scratch folder for readers that take a path, and a check that
// stops the run like a sanitizer finding does.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace corvane::fuzz {

// A folder of this process's own, made once and removed at exit. In memory where there is a
// memory file system: the readers under test flush what they write.
inline const std::string& Scratch() {
    // Never destroyed: the removal at exit still needs it.
    static const std::string& dir = *[] {
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string path = (base / "corvane-fuzz-XXXXXX").string();
        if (::mkdtemp(path.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(Scratch(), ignored);
        });
        return new std::string(path);
    }();
    return dir;
}

inline void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), std::streamsize(bytes.size()));
}

// A property the code promises that does not hold: the input is a finding.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

} // namespace corvane::fuzz
