// Program lookup on POSIX with the Windows rules: .exe appended, case ignored, AppDir first.
#include "platform/posix/ProgramLookup.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <dirent.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {
namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool IsProgram(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string WithSeparator(std::string dir) {
    if (dir.empty()) {
        return "./";
    }
    if (dir.back() != '/') {
        dir += '/';
    }
    return dir;
}

// The program in one folder: the exact name, else the first name (in byte order, so the choice
// does not depend on the directory's order) equal to it without regard to case.
std::optional<std::string> FindIn(const std::string& dir, const std::string& name) {
    if (IsProgram(dir + name)) {
        return dir + name;
    }
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr) {
        return std::nullopt;
    }
    const std::string wanted = Lower(name);
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(d)) {
        const std::string candidate = entry->d_name;
        if (candidate.size() == wanted.size() && Lower(candidate) == wanted &&
            (!best || candidate < *best) && IsProgram(dir + candidate)) {
            best = candidate;
        }
    }
    ::closedir(d);
    if (best) {
        return dir + *best;
    }
    return std::nullopt;
}

} // namespace

std::string ProgramFileName(const std::string& word) {
    const size_t lastPart = word.find_last_of("/\\");
    const size_t dot = word.find('.', lastPart == std::string::npos ? 0 : lastPart + 1);
    return dot == std::string::npos ? word + ".exe" : word;
}

ProgramLookup::ProgramLookup(std::string appDir) : m_appDir(WithSeparator(std::move(appDir))) {}

const std::string* ProgramLookup::Find(const std::string& word) {
    if (word.empty()) {
        return nullptr;
    }
    const char* pathVar = std::getenv("PATH");
    if (pathVar == nullptr) {
        pathVar = "";
    }
    if (m_path != pathVar) {
        m_found.clear();
        m_path = pathVar;
    }
    const std::string key = Lower(word);
    if (const auto it = m_found.find(key); it != m_found.end()) {
        return &it->second;
    }

    const std::string name = ProgramFileName(word);
    std::optional<std::string> found;
    if (name.find_first_of("/\\") != std::string::npos) {
        std::string file = name;
        std::replace(file.begin(), file.end(), '\\', '/');
        if (file.front() != '/') {
            file = m_appDir + file;
        }
        if (IsProgram(file)) {
            found = file;
        }
    } else {
        found = FindIn(m_appDir, name);
        for (size_t start = 0; !found && start <= m_path.size();) {
            const size_t end = std::min(m_path.find(':', start), m_path.size());
            // An empty or relative entry would be looked up from this process's working folder,
            // while the tool starts in AppDir: another file than the one found could run.
            if (end > start && m_path[start] == '/') {
                found = FindIn(WithSeparator(m_path.substr(start, end - start)), name);
            }
            start = end + 1;
        }
    }
    if (!found) {
        return nullptr;
    }
    return &m_found.insert_or_assign(key, std::move(*found)).first->second;
}

void ProgramLookup::Forget(const std::string& word) {
    m_found.erase(Lower(word));
}

} // namespace corvane
