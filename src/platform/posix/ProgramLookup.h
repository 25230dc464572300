// Finding the program a Windows command line names: NAME.exe in AppDir, then on PATH.
#pragma once

#include <string>
#include <unordered_map>

namespace corvane {

// The file name Windows looks for: a name whose last part has no extension gets ".exe".
std::string ProgramFileName(const std::string& word);

// Looks programs up as Windows does, for programs only (no .bat, no .cmd, nothing without an
// extension, so the system's own bare "uptime" or "at" is never taken): the name is matched
// without regard to ASCII case, an exact match first, in AppDir and then in each folder of
// PATH; empty and relative PATH entries are skipped, as they would name a folder other than the
// one the tool starts in. A word holding a separator (/ or \) is a path, taken relative to AppDir
// and matched exactly. Only executable regular files count. Found names are cached; the cache is
// dropped when PATH changes, and a single name can be forgotten when starting it failed.
class ProgramLookup {
public:
    explicit ProgramLookup(std::string appDir);

    // The full path of the program, or null when no such program exists. The path stays valid
    // until the next call.
    const std::string* Find(const std::string& word);
    void Forget(const std::string& word);

private:
    std::string m_appDir; // ends with a separator
    std::string m_path;   // the PATH the cache was filled under
    std::unordered_map<std::string, std::string> m_found;
};

} // namespace corvane
