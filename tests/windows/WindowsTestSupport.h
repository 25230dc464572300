// What the Windows contract tests share: text conversions, a scratch folder, files as bytes, the
// helper programs and waiting for a process.
#pragma once

#include <windows.h>

#include <optional>
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

private:
    std::string m_path;
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
