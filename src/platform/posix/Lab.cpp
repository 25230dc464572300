// The lab network's path rules and server settings, shared by the backend, the tools and tests.
#include "platform/posix/Lab.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace corvane::lab {
namespace {

constexpr const char* kNetworkPathNotFound = "The network path was not found.";
constexpr const char* kNetworkNameNotFound = "The network name cannot be found.";
constexpr const char* kBadSyntax = "The filename, directory name, or volume label syntax is "
                                   "incorrect.";

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// The text is scanned once; find_first_of would call memchr for each of its characters.
bool IsWildcardOrNul(char c) {
    return c == '*' || c == '?' || c == '\0';
}

size_t SeparatorAt(std::string_view text) {
    const auto at =
        std::find_if(text.begin(), text.end(), [](char c) { return c == '\\' || c == '/'; });
    return at == text.end() ? std::string_view::npos : static_cast<size_t>(at - text.begin());
}

// A server or share name that is one plain part of a path.
bool IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\*?\0", 5)) == std::string_view::npos;
}

bool IsShareName(std::string_view name) {
    return name.size() == 2 && name[1] == '$' && Lower(name[0]) >= 'c' && Lower(name[0]) <= 'g';
}

Resolved Failure(int error, const char* reason) {
    return {error, reason, {}};
}

class Fresh final : public Lookups {
public:
    std::string MatchPart(std::string_view folder, std::string_view part) override {
        return lab::MatchPart(std::string(folder), part);
    }
    bool IsDirectory(const std::string& path) override {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    ServerSettings Settings(const std::string& serverFolder) override {
        std::string text;
        return ReadFileBytes(serverFolder + "/.lab", text) ? ParseSettings(text) : ServerSettings{};
    }
};

} // namespace

Lookups& FreshLookups() {
    static Fresh fresh;
    return fresh;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

ServerSettings ParseSettings(std::string_view text) {
    ServerSettings settings;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) {
            continue;
        }
        const std::string_view key = Trim(line.substr(0, eq));
        const std::string_view value = Trim(line.substr(eq + 1));
        if (EqualNoCase(key, "offline")) {
            settings.offline = EqualNoCase(value, "yes");
        } else if (EqualNoCase(key, "access")) {
            settings.denied = EqualNoCase(value, "denied");
        } else if (EqualNoCase(key, "hang")) {
            settings.hang = EqualNoCase(value, "yes");
        } else if (EqualNoCase(key, "boot")) {
            long long seconds = 0;
            const auto [ptr, ec] =
                std::from_chars(value.data(), value.data() + value.size(), seconds);
            if (ec == std::errc() && ptr == value.data() + value.size() && !value.empty()) {
                settings.boot = seconds;
            }
        }
    }
    return settings;
}

std::string FormatSettings(const ServerSettings& settings) {
    std::string text;
    if (settings.offline) {
        text += "offline=yes\n";
    }
    if (settings.denied) {
        text += "access=denied\n";
    }
    if (settings.hang) {
        text += "hang=yes\n";
    }
    if (settings.boot) {
        text += "boot=" + std::to_string(*settings.boot) + "\n";
    }
    return text;
}

Network::Network(std::string root) : m_root(std::move(root)) {
    if (!m_root.empty() && m_root.back() != '/') {
        m_root += '/';
    }
}

Server Network::FindServer(std::string_view name, Lookups& lookups) const {
    Server server;
    if (m_root.empty() || !IsPlainName(name)) {
        return server;
    }
    const std::string folderName = lookups.MatchPart(m_root, name);
    if (folderName.empty() || !lookups.IsDirectory(m_root + folderName)) {
        return server;
    }
    server.folder = m_root + folderName;
    server.settings = lookups.Settings(server.folder);
    return server;
}

Resolved Network::Resolve(std::string_view unc, Lookups& lookups, bool matchLast) const {
    if (!IsUncPath(unc) || std::any_of(unc.begin(), unc.end(), IsWildcardOrNul)) {
        return Failure(kUnusableName, kBadSyntax);
    }
    std::string_view text = unc.substr(2);
    const auto serverEnd = text.find('\\');
    const std::string_view serverName = text.substr(0, serverEnd);
    text = serverEnd == text.npos ? std::string_view() : text.substr(serverEnd + 1);
    const auto shareEnd = text.find('\\');
    const std::string_view shareName = text.substr(0, shareEnd);
    text = shareEnd == text.npos ? std::string_view() : text.substr(shareEnd + 1);
    if (!IsPlainName(serverName)) {
        return Failure(kUnusableName, kBadSyntax);
    }
    if (!IsPlainName(shareName)) {
        return Failure(kUnusableName, shareName.empty() ? kNetworkNameNotFound : kBadSyntax);
    }
    std::vector<std::string_view> parts;
    const bool namesFolder = unc.back() == '\\' || unc.back() == '/';
    while (!text.empty()) {
        const auto end = SeparatorAt(text);
        const std::string_view part = text.substr(0, end);
        text = end == text.npos ? std::string_view() : text.substr(end + 1);
        if (part == "..") {
            return Failure(kUnusableName, kBadSyntax);
        }
        if (!part.empty()) {
            parts.push_back(part);
        }
    }

    // The folder that holds the last part is walked once per run when the lookups remember it.
    const std::string_view last = parts.empty() ? std::string_view() : parts.back();
    const std::string_view folderText =
        parts.empty() ? unc : unc.substr(0, static_cast<size_t>(last.data() - unc.data()));
    if (!parts.empty()) {
        parts.pop_back();
    }
    Walk walked;
    const Walk* known = lookups.RememberedWalk(folderText);
    if (known == nullptr) {
        walked = WalkFolders(serverName, shareName, parts, lookups);
        lookups.RememberWalk(folderText, walked);
    }
    const Walk& walk = known != nullptr ? *known : walked;
    if (!walk.folder.ok()) {
        return walk.folder;
    }
    std::string path;
    path.reserve(walk.folder.path.size() + last.size() + 2);
    path.append(walk.folder.path);
    const bool matching = walk.complete && !last.empty();
    const bool matched = matching && (matchLast || lookups.Listed(path));
    if (!last.empty()) {
        const std::string name = matched ? lookups.MatchPart(path, last) : std::string();
        path.append(1, '/').append(name.empty() ? last : std::string_view(name));
    }
    if (namesFolder) {
        path += '/';
    }
    return {0, {}, std::move(path), matching && !matched};
}

Walk Network::WalkFolders(std::string_view serverName, std::string_view shareName,
                          const std::vector<std::string_view>& parts, Lookups& lookups) const {
    const Server server = FindServer(serverName, lookups);
    if (!server.Reachable()) {
        return {Failure(kUnusableName, kNetworkPathNotFound), false};
    }
    if (server.settings.denied) {
        return {Failure(kAccessDenied, "Access is denied."), false};
    }
    const std::string share =
        IsShareName(shareName) ? lookups.MatchPart(server.folder, shareName) : std::string();
    Walk walk{{0, {}, server.folder + "/" + share}, true};
    if (share.empty() || !lookups.IsDirectory(walk.folder.path)) {
        return {Failure(kUnusableName, kNetworkNameNotFound), false};
    }
    // Once a part is missing, nothing below it exists either: the rest keeps its spelling.
    for (const std::string_view part : parts) {
        const std::string name =
            walk.complete ? lookups.MatchPart(walk.folder.path, part) : std::string();
        walk.complete = walk.complete && !name.empty();
        walk.folder.path.append(1, '/').append(name.empty() ? part : std::string_view(name));
    }
    return walk;
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const int err = errno;
            ::close(fd);
            errno = err;
            return n == 0;
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
}

bool IsUncPath(std::string_view path) {
    return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

std::string MatchPart(const std::string& folder, std::string_view part) {
    std::string exact = folder;
    if (!exact.empty() && exact.back() != '/') {
        exact += '/';
    }
    exact += part;
    struct stat st {};
    if (::lstat(exact.c_str(), &st) == 0) {
        return std::string(part);
    }
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return {};
    }
    std::string best;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (EqualNoCase(name, part) && (best.empty() || name < best)) {
            best = name;
        }
    }
    ::closedir(dir);
    return best;
}

long long BootTime(const Server& server) {
    if (server.settings.boot) {
        return *server.settings.boot;
    }
    struct statx sx {};
    if (::statx(AT_FDCWD, server.folder.c_str(), 0, STATX_BTIME | STATX_MTIME, &sx) == 0) {
        if ((sx.stx_mask & STATX_BTIME) != 0 && sx.stx_btime.tv_sec != 0) {
            return sx.stx_btime.tv_sec;
        }
        return sx.stx_mtime.tv_sec;
    }
    return 0;
}

long long Now() {
    if (const char* fixed = std::getenv("CORVANE_LAB_NOW"); fixed != nullptr && *fixed != '\0') {
        const std::string_view text = fixed;
        long long seconds = 0;
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
        if (ec == std::errc() && ptr == text.data() + text.size()) {
            return seconds;
        }
    }
    return static_cast<long long>(std::time(nullptr));
}

std::string ToolNetworkRoot() {
    if (const char* root = std::getenv("CORVANE_NETWORK"); root != nullptr && *root != '\0') {
        return root;
    }
    std::string exe(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", exe.data(), exe.size());
    if (n <= 0 || static_cast<size_t>(n) >= exe.size()) {
        return "network/";
    }
    exe.resize(static_cast<size_t>(n));
    return exe.substr(0, exe.find_last_of('/') + 1) + "network/";
}

} // namespace corvane::lab
