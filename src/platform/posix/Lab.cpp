// The lab network's path rules and server settings, shared by the backend, the tools and tests.
#include "platform/posix/Lab.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
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
        const std::string file = serverFolder + "/.lab";
        std::string text;
        std::string reason;
        ServerSettings settings;
        switch (ReadOwnFile(AT_FDCWD, file, kMaxSettingsBytes, text, reason)) {
        case OwnFile::Read:
            return ParseSettings(text);
        case OwnFile::Missing:
            break;
        case OwnFile::Refused:
            settings.unreadable = "The settings file " + file + " cannot be read: " + reason + ".";
            break;
        }
        return settings;
    }
};

std::string OpenProblem(int err) {
    return err == ELOOP ? "it is a symbolic link" : std::strerror(err);
}

// Refuses anything but a regular file: a FIFO or a device would block or never end.
bool IsRegular(int fd, std::string& reason, struct stat& st) {
    if (::fstat(fd, &st) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        reason = "it is not a regular file";
        return false;
    }
    return true;
}

std::string TooLarge(size_t maxBytes) {
    return "it is larger than " + std::to_string(maxBytes >> 20) + " MB";
}

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

const std::string& Lowered(std::string_view text, std::string& lower) {
    lower.assign(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
    return lower;
}

std::string Lowered(std::string_view text) {
    std::string lower;
    return Lowered(text, lower);
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
            if (ParseSeconds(value, seconds)) {
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

namespace {

// The parts of the rest of a path, without empty ones (doubled separators); false for a '..'.
bool SplitParts(std::string_view text, std::vector<std::string_view>& parts) {
    while (!text.empty()) {
        const auto end = SeparatorAt(text);
        const std::string_view part = text.substr(0, end);
        text = end == text.npos ? std::string_view() : text.substr(end + 1);
        if (part == "..") {
            return false;
        }
        if (!part.empty()) {
            parts.push_back(part);
        }
    }
    return true;
}

} // namespace

Resolved Network::Resolve(std::string_view unc, Lookups& lookups, bool matchLast) const {
    if (!IsUncPath(unc) || std::any_of(unc.begin(), unc.end(), IsWildcardOrNul)) {
        return Failure(kBadFileName, kBadSyntax);
    }
    std::string_view text = unc.substr(2);
    const auto serverEnd = text.find('\\');
    const std::string_view serverName = text.substr(0, serverEnd);
    text = serverEnd == text.npos ? std::string_view() : text.substr(serverEnd + 1);
    const auto shareEnd = text.find('\\');
    const std::string_view shareName = text.substr(0, shareEnd);
    text = shareEnd == text.npos ? std::string_view() : text.substr(shareEnd + 1);
    if (!IsPlainName(serverName)) {
        return Failure(kBadFileName, kBadSyntax);
    }
    if (!IsPlainName(shareName)) {
        return Failure(kBadFileName, shareName.empty() ? kNetworkNameNotFound : kBadSyntax);
    }
    std::vector<std::string_view> parts;
    if (!SplitParts(text, parts)) {
        return Failure(kBadFileName, kBadSyntax);
    }
    const bool namesFolder = unc.back() == '\\' || unc.back() == '/';

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
    bool missing = false;
    if (!last.empty()) {
        const std::string name = matched ? lookups.MatchPart(path, last) : std::string();
        missing = matched && name.empty();
        path.append(1, '/').append(name.empty() ? last : std::string_view(name));
    }
    if (namesFolder) {
        path += '/';
    }
    return {kFileOk, {}, std::move(path), matching && !matched, missing};
}

Walk Network::WalkFolders(std::string_view serverName, std::string_view shareName,
                          const std::vector<std::string_view>& parts, Lookups& lookups) const {
    const Server server = FindServer(serverName, lookups);
    if (!server.Reachable()) {
        return {Failure(kBadFileName, kNetworkPathNotFound), false};
    }
    if (server.settings.denied) {
        return {Failure(kPermissionDenied, "Access is denied."), false};
    }
    const std::string share =
        IsShareName(shareName) ? lookups.MatchPart(server.folder, shareName) : std::string();
    Walk walk{{kFileOk, {}, server.folder + "/" + share}, true};
    if (share.empty() || !lookups.IsDirectory(walk.folder.path)) {
        return {Failure(kBadFileName, kNetworkNameNotFound), false};
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

OwnFile ReadOwnFile(int folderFd, const std::string& name, size_t maxBytes, std::string& bytes,
                    std::string& reason) {
    bytes.clear();
    const int fd = ::openat(folderFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            return OwnFile::Missing;
        }
        reason = OpenProblem(errno);
        return OwnFile::Refused;
    }
    struct stat st {};
    bool good = IsRegular(fd, reason, st);
    if (good && static_cast<unsigned long long>(st.st_size) > maxBytes) {
        reason = TooLarge(maxBytes);
        good = false;
    }
    char buffer[65536];
    while (good) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            reason = std::strerror(errno);
            good = false;
        } else if (n == 0) {
            break;
        } else if (bytes.size() + static_cast<size_t>(n) > maxBytes) { // it grew meanwhile
            reason = TooLarge(maxBytes);
            good = false;
        } else {
            bytes.append(buffer, static_cast<size_t>(n));
        }
    }
    ::close(fd);
    return good ? OwnFile::Read : OwnFile::Refused;
}

int OpenOwnFile(int folderFd, const std::string& name, std::string& reason) {
    const int fd = ::openat(folderFd, name.c_str(),
                            O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        reason = OpenProblem(errno);
        return -1;
    }
    struct stat st {};
    if (!IsRegular(fd, reason, st)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int CreateOwnFile(int folderFd, const std::string& name, std::string& reason) {
    struct stat st {};
    if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISREG(st.st_mode)) {
            reason = S_ISLNK(st.st_mode) ? OpenProblem(ELOOP) : "it is not a regular file";
            return -1;
        }
        if (::unlinkat(folderFd, name.c_str(), 0) != 0 && errno != ENOENT) {
            reason = std::strerror(errno);
            return -1;
        }
    }
    // O_EXCL never follows a link, so a file outside the folder is neither created nor changed.
    const int fd = ::openat(folderFd, name.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        reason = OpenProblem(errno);
    }
    return fd;
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

bool ParseSeconds(std::string_view text, long long& seconds) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, seconds);
    if (ptr != end || text.empty() || (ec != std::errc() && ec != std::errc::result_out_of_range)) {
        return false;
    }
    const bool negative = text[0] == '-';
    seconds =
        ec != std::errc() ? (negative ? 0 : kLatestTime) : std::clamp(seconds, 0LL, kLatestTime);
    return true;
}

long long BootTime(const Server& server) {
    if (server.settings.boot) {
        return std::clamp(*server.settings.boot, 0LL, kLatestTime);
    }
    struct statx sx {};
    if (::statx(AT_FDCWD, server.folder.c_str(), 0, STATX_BTIME | STATX_MTIME, &sx) == 0) {
        const bool born = (sx.stx_mask & STATX_BTIME) != 0 && sx.stx_btime.tv_sec != 0;
        return std::clamp<long long>(born ? sx.stx_btime.tv_sec : sx.stx_mtime.tv_sec, 0,
                                     kLatestTime);
    }
    return 0;
}

long long Now() {
    long long seconds = 0;
    if (const char* fixed = std::getenv("CORVANE_LAB_NOW");
        fixed != nullptr && ParseSeconds(fixed, seconds)) {
        return seconds;
    }
    return std::clamp<long long>(std::time(nullptr), 0, kLatestTime);
}

long long UpSeconds(const Server& server) {
    return std::max(0LL, Now() - BootTime(server));
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
