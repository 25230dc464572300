// The lab network's answers remembered for one run, kept in step with the run's own changes.
#include "platform/posix/LabMemory.h"

#include <algorithm>
#include <dirent.h>

namespace corvane::lab {
namespace {

// Enough for the folders of a few servers; a listing of a few hundred names is some 50 KB.
constexpr size_t kMaxListings = 64;
// Two or three folders per server of a long list.
constexpr size_t kMaxWalks = 4096;

const std::string& Lowered(std::string_view text, std::string& lower) {
    lower.assign(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

std::string Lowered(std::string_view text) {
    std::string lower;
    return Lowered(text, lower);
}

std::string_view WithoutTrailingSlash(std::string_view path) {
    return path.size() > 1 && path.back() == '/' ? path.substr(0, path.size() - 1) : path;
}

// The folder and the name of a path, split at its last '/'; no folder for a bare name.
std::pair<std::string, std::string> SplitLast(const std::string& path) {
    const std::string whole(WithoutTrailingSlash(path));
    const auto slash = whole.find_last_of('/');
    if (slash == std::string::npos) {
        return {{}, whole};
    }
    return {slash == 0 ? std::string("/") : whole.substr(0, slash), whole.substr(slash + 1)};
}

void Insert(std::vector<std::string>& names, std::string name) {
    const auto at = std::lower_bound(names.begin(), names.end(), name);
    if (at == names.end() || *at != name) {
        names.insert(at, std::move(name));
    }
}

} // namespace

RunMemory::Listing* RunMemory::Find(std::string_view folder) {
    const auto it = m_listings.find(folder);
    if (it == m_listings.end()) {
        return nullptr;
    }
    it->second.lastUse = ++m_uses;
    return &it->second;
}

RunMemory::Listing* RunMemory::Load(std::string_view folder) {
    const std::string key(folder);
    DIR* dir = ::opendir(key.c_str());
    if (dir == nullptr) {
        return nullptr;
    }
    Trim();
    Listing& listing = m_listings[key];
    listing.byLower.clear();
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        Insert(listing.byLower[Lowered(name)], std::string(name));
    }
    ::closedir(dir);
    listing.lastUse = ++m_uses;
    return &listing;
}

void RunMemory::Trim() {
    if (m_listings.size() < kMaxListings) {
        return;
    }
    const std::uint64_t keepFrom = m_uses - kMaxListings / 2;
    std::erase_if(m_listings,
                  [keepFrom](const auto& entry) { return entry.second.lastUse <= keepFrom; });
}

std::string RunMemory::MatchPart(std::string_view folder, std::string_view part) {
    const std::string_view key = WithoutTrailingSlash(folder);
    Listing* listing = Find(key);
    if (listing == nullptr) {
        listing = Load(key);
    }
    if (listing == nullptr) {
        // An unreadable folder may still let a name in it be found.
        return lab::MatchPart(std::string(folder), part);
    }
    const auto group = listing->byLower.find(Lowered(part, m_lowered));
    if (group == listing->byLower.end()) {
        return {};
    }
    const std::vector<std::string>& names = group->second;
    // An exact match first, as on Windows; else the first in byte order.
    return std::binary_search(names.begin(), names.end(), part) ? std::string(part) : names.front();
}

bool RunMemory::IsDirectory(const std::string& path) {
    const std::string_view key = WithoutTrailingSlash(path);
    const auto it = m_directories.find(key);
    if (it != m_directories.end()) {
        return it->second;
    }
    const bool directory = FreshLookups().IsDirectory(path);
    m_directories.emplace(key, directory);
    return directory;
}

const Walk* RunMemory::RememberedWalk(std::string_view folderText) {
    const auto it = m_walks.find(folderText);
    return it == m_walks.end() ? nullptr : &it->second;
}

void RunMemory::RememberWalk(std::string_view folderText, const Walk& walk) {
    if (m_walks.size() >= kMaxWalks) {
        m_walks.clear();
    }
    m_walks.emplace(folderText, walk);
}

ServerSettings RunMemory::Settings(const std::string& serverFolder) {
    const auto it = m_settings.find(serverFolder);
    if (it != m_settings.end()) {
        return it->second;
    }
    return m_settings.emplace(serverFolder, FreshLookups().Settings(serverFolder)).first->second;
}

void RunMemory::NoteCreated(const std::string& path, bool isFolder) {
    Changed();
    const auto [folder, name] = SplitLast(path);
    if (Listing* listing = Find(folder)) {
        Insert(listing->byLower[Lowered(name)], name);
    }
    const std::string whole(WithoutTrailingSlash(path));
    m_directories.erase(whole);
    if (name == ".lab") {
        m_settings.erase(folder);
    }
    if (isFolder) {
        Trim();
        Listing& listing = m_listings[whole];
        listing.byLower = {{".", {"."}}, {"..", {".."}}};
        listing.lastUse = ++m_uses;
        m_directories.emplace(whole, true);
    }
}

void RunMemory::NoteRemoved(const std::string& path) {
    Changed();
    const auto [folder, name] = SplitLast(path);
    if (Listing* listing = Find(folder)) {
        const auto group = listing->byLower.find(Lowered(name));
        if (group != listing->byLower.end()) {
            std::erase(group->second, name);
            if (group->second.empty()) {
                listing->byLower.erase(group);
            }
        }
    }
    const std::string whole(WithoutTrailingSlash(path));
    m_directories.erase(whole);
    m_listings.erase(whole);
    if (name == ".lab") {
        m_settings.erase(folder);
    }
}

} // namespace corvane::lab
