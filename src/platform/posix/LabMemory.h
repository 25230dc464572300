// What a run over many lab paths remembers between them, so that a server and its folders are
// looked at once per run instead of once per path.
#pragma once

#include "platform/posix/Lab.h"

#include <cstdint>
#include <functional>
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
    std::string MatchPart(std::string_view folder, std::string_view part) override;
    bool IsDirectory(const std::string& path) override;
    ServerSettings Settings(const std::string& serverFolder) override;
    bool Listed(std::string_view folder) override { return Find(folder) != nullptr; }
    const Walk* RememberedWalk(std::string_view folderText) override;
    void RememberWalk(std::string_view folderText, const Walk& walk) override;

    // The run created a file or a folder at this local path (or replaced a file there).
    void NoteCreated(const std::string& path, bool isFolder);
    // The run removed the file at this local path, or found it missing.
    void NoteRemoved(const std::string& path);

private:
    // Looks texts up without copying them into a key first.
    struct TextHash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    template <typename Value>
    using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

    // A folder's names with their lower-case spelling, sorted by it and then by the name, so that
    // the names equal without regard to case stand together, the first in byte order first.
    struct Listing {
        std::vector<std::pair<std::string, std::string>> entries; // lower case, name
        std::uint64_t lastUse = 0;

        void Add(std::string_view name);
        void Remove(std::string_view name);
    };
    Listing* Find(std::string_view folder);
    Listing* Load(std::string_view folder);
    // Forgets the walks, which may have gone another way now; called on every change.
    void Changed() { m_walks.clear(); }
    void Erase(const std::string& folder);
    // Keeps the memory small on a long run: the folders not used for a while are read again
    // when they are needed.
    void Trim();

    TextMap<Listing> m_listings; // by folder, without '/' at its end
    // The folder asked about last: the files of one folder are asked about one after the other.
    std::string m_lastFolder;
    Listing* m_last = nullptr;
    TextMap<bool> m_directories;
    TextMap<ServerSettings> m_settings;
    TextMap<Walk> m_walks;
    std::string m_lowered; // room for a name in lower case
    std::uint64_t m_uses = 0;
};

} // namespace corvane::lab
