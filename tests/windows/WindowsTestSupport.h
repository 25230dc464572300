// What the Windows contract tests share: text conversions, a scratch folder, files as bytes, the
// helper programs and waiting for a process.
#pragma once

#include <windows.h>
// The FileSystem's members, not the system's ANSI-or-wide macros of the same names.
#undef CopyFile
#undef CreateDirectory
#undef DeleteFile
#undef ReplaceFile

#include <optional>
#include <set>
#include <string>

namespace corvane::wintest {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

// The folder holding the helper programs, beside the test program: "...\helpers\".
std::string HelpersDir();

// A fresh folder under the temporary folder, removed with everything in it at the end. Its path
// holds a blank and ends in a backslash.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + name; }
    void Write(const std::string& name, const std::string& bytes) const;
    // The file's bytes; nothing when it cannot be read.
    std::optional<std::string> Read(const std::string& name) const;
    bool Exists(const std::string& name) const;
    // Every name in the folder.
    std::set<std::string> Names() const;

private:
    std::string m_path;
};

// Writes past `bytes` into any file fail while this lives, as on a full disk: under Wine the
// program is a Linux process, and the kernel's file size limit (its signal ignored) does that.
// Not under Wine, active() is false.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active() const { return m_active; }

private:
    bool m_active = false;
    unsigned long long m_old[2] = {};       // struct rlimit
    unsigned long long m_oldAction[4] = {}; // struct sigaction as the kernel takes it
};

// Copies a helper program into the folder under another name (NAME.exe).
bool InstallHelper(const std::string& helper, const std::string& to);

// Waits for a handle to become signalled, at most timeoutMs.
bool WaitSignalled(HANDLE handle, DWORD timeoutMs);

// True while a process of that ID runs.
bool ProcessRunning(DWORD pid);

// Starts a helper directly (not through the backend, not in a job), for "unrelated" processes.
// The process handle, to be closed by the caller, and its ID; null when it did not start.
HANDLE StartUnrelated(const std::string& commandLine, DWORD& pid);

} // namespace corvane::wintest
