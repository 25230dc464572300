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

} // namespace

void RunMemory::Listing::Add(std::string_view name) {
    std::pair<std::string, std::string> entry{Lowered(name), std::string(name)};
    const auto at = std::lower_bound(entries.begin(), entries.end(), entry);
    if (at == entries.end() || *at != entry) {
        entries.insert(at, std::move(entry));
    }
}

void RunMemory::Listing::Remove(std::string_view name) {
    const std::pair<std::string, std::string> entry{Lowered(name), std::string(name)};
    const auto at = std::lower_bound(entries.begin(), entries.end(), entry);
    if (at != entries.end() && *at == entry) {
        entries.erase(at);
    }
}

RunMemory::Listing* RunMemory::Find(std::string_view folder) {
    if (m_last == nullptr || folder != m_lastFolder) {
        const auto it = m_listings.find(folder);
        if (it == m_listings.end()) {
            return nullptr;
        }
        m_last = &it->second;
        m_lastFolder.assign(folder);
    }
    m_last->lastUse = ++m_uses;
    return m_last;
}

RunMemory::Listing* RunMemory::Load(std::string_view folder) {
    const std::string key(folder);
    DIR* dir = ::opendir(key.c_str());
    if (dir == nullptr) {
        return nullptr;
    }
    Trim();
    Listing& listing = m_listings[key];
    listing.entries.clear();
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        listing.entries.emplace_back(Lowered(name), name);
    }
    ::closedir(dir);
    std::sort(listing.entries.begin(), listing.entries.end());
    return Find(folder);
}

void RunMemory::Erase(const std::string& folder) {
    m_listings.erase(folder);
    m_last = nullptr;
}

void RunMemory::Trim() {
    if (m_listings.size() < kMaxListings) {
        return;
    }
    const std::uint64_t keepFrom = m_uses - kMaxListings / 2;
    std::erase_if(m_listings,
                  [keepFrom](const auto& entry) { return entry.second.lastUse <= keepFrom; });
    m_last = nullptr;
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
    const std::string& lower = Lowered(part, m_lowered);
    const auto first = std::lower_bound(
        listing->entries.begin(), listing->entries.end(), lower,
        [](const auto& entry, const std::string& text) { return entry.first < text; });
    // An exact match first, as on Windows; else the first in byte order.
    for (auto it = first; it != listing->entries.end() && it->first == lower; ++it) {
        if (it->second == part) {
            return it->second;
        }
    }
    return first != listing->entries.end() && first->first == lower ? first->second : std::string();
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
        listing->Add(name);
    }
    const std::string whole(WithoutTrailingSlash(path));
    m_directories.erase(whole);
    if (name == ".lab") {
        m_settings.erase(folder);
    }
    if (isFolder) {
        Trim();
        Listing& listing = m_listings[whole];
        listing.entries = {{".", "."}, {"..", ".."}};
        listing.lastUse = ++m_uses;
        m_directories.emplace(whole, true);
    }
}

void RunMemory::NoteRemoved(const std::string& path) {
    Changed();
    const auto [folder, name] = SplitLast(path);
    if (Listing* listing = Find(folder)) {
        listing->Remove(name);
    }
    const std::string whole(WithoutTrailingSlash(path));
    m_directories.erase(whole);
    Erase(whole);
    if (name == ".lab") {
        m_settings.erase(folder);
    }
}

} // namespace corvane::lab
