// What a run over many lab paths remembers between them, so that a server and its folders are
// looked at once per run instead of once per path.
#pragma once

#include "platform/posix/Lab.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane::lab {

// Remembers folder listings (to match names without regard to case), directory tests and server
// settings. It answers as FreshLookups would at the moment each answer was first asked for;
// changes made by others afterwards are not seen, the run's own are, once noted. So it lives for
// one run only. Not thread-safe.
class RunMemory final : public Lookups {
public:
    std::string MatchPart(const std::string& folder, std::string_view part) override;
    bool IsDirectory(const std::string& path) override;
    ServerSettings Settings(const std::string& serverFolder) override;

    // The run created a file or a folder at this local path (or replaced a file there).
    void NoteCreated(const std::string& path, bool isFolder);
    // The run removed the file at this local path, or found it missing.
    void NoteRemoved(const std::string& path);

private:
    // A folder's names grouped by their lower-case spelling, each group in byte order.
    struct Listing {
        std::unordered_map<std::string, std::vector<std::string>> byLower;
        std::uint64_t lastUse = 0;
    };
    Listing* Find(const std::string& folder);
    Listing* Load(const std::string& folder);
    // Keeps the memory small on a long run: the folders not used for a while are read again
    // when they are needed.
    void Trim();

    std::unordered_map<std::string, Listing> m_listings; // by folder, without '/' at its end
    std::unordered_map<std::string, bool> m_directories;
    std::unordered_map<std::string, ServerSettings> m_settings;
    std::uint64_t m_uses = 0;
};

} // namespace corvane::lab
