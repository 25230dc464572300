// FileSystem on Windows: the system's wide-character file functions; UNC paths are its own.
#include "platform/NativeFileSystem.h"
#include "platform/windows/WindowsErrors.h"
#include "platform/windows/WindowsText.h"

#include <windows.h>
// The interface's names, not the system's ANSI-or-wide macros.
#undef CopyFile
#undef CreateDirectory
#undef DeleteFile
#undef ReplaceFile

#include <atomic>
#include <string>
#include <string_view>

namespace corvane {
namespace windows {

int FileErrorNumber(unsigned long code, FileStep step) {
    switch (code) {
    case ERROR_SUCCESS:
        return kFileOk;
    case ERROR_FILE_NOT_FOUND:
        // A name that was to be made is missing only when its folder is.
        return step == FileStep::Search     ? kFileOk
               : step == FileStep::Existing ? kFileNotFound
                                            : kPathNotFound;
    case ERROR_PATH_NOT_FOUND:
        return step == FileStep::Search ? kFileOk : kPathNotFound;
    case ERROR_NO_MORE_FILES:
        return step == FileStep::Search ? kFileOk : kPathFileAccess;
    // Names the system cannot use, and servers or shares that cannot be reached: the caller
    // tells the user the server is offline.
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_REM_NOT_LIST:
    case ERROR_NETWORK_BUSY:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_BAD_NET_RESP:
    case ERROR_NETNAME_DELETED:
    case ERROR_SEM_TIMEOUT:
    case ERROR_NO_NET_OR_BAD_PATH:
    case ERROR_NO_NETWORK:
    case ERROR_CONNECTION_REFUSED:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_HOST_UNREACHABLE:
    case ERROR_LOGON_FAILURE:
        return kBadFileName;
    case ERROR_ACCESS_DENIED:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return kPermissionDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return kDiskFull;
    default:
        return kPathFileAccess;
    }
}

FileResult FileErrorFrom(unsigned long code, FileStep step) {
    const int number = FileErrorNumber(code, step);
    return number == kFileOk ? FileResult{} : FileResult{number, SystemMessage(code)};
}

} // namespace windows

namespace {

using windows::FileErrorFrom;
using windows::FileStep;
using windows::ToUtf8;
using windows::ToWide;

constexpr const char* kCopyOntoItself = "The destination is the file itself";

// What went wrong just now, as the program numbers it. Read before any clean-up call, which
// would overwrite the code.
FileResult LastError(FileStep step) {
    return FileErrorFrom(GetLastError(), step);
}

FileResult BadName() {
    return FileErrorFrom(ERROR_INVALID_NAME, FileStep::Create);
}

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// "X:" or "\\SERVER\SHARE" (or less): a root, which is spelled with its separator.
bool IsRoot(std::wstring_view path) {
    if (path.empty() || (path.size() == 2 && path[1] == L':')) {
        return true;
    }
    if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) {
        return false;
    }
    int separators = 0;
    for (const wchar_t c : path.substr(2)) {
        separators += IsSeparator(c) ? 1 : 0;
    }
    return separators <= 1;
}

class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    ~Handle() {
        if (valid()) {
            CloseHandle(m_handle);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle& operator=(HANDLE handle) {
        if (valid()) {
            CloseHandle(m_handle);
        }
        m_handle = handle;
        return *this;
    }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    HANDLE release() {
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return handle;
    }
    // Closes now, so that a failure of the close itself (a late write error) is seen.
    bool close() {
        const bool closed = CloseHandle(m_handle) != 0;
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

HANDLE Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
            DWORD flags = FILE_ATTRIBUTE_NORMAL) {
    return CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
}

// A pipe, a console or another device answers GetFileType with something other than a disk file;
// reading or writing it whole would wait or never end.
bool IsDiskFile(HANDLE file) {
    return GetFileType(file) == FILE_TYPE_DISK;
}

// Opens a disk file for writing, made or emptied: what CreateEmptyFile and a line writer start
// from.
FileResult OpenEmptied(const std::wstring& path, Handle& file) {
    file = Open(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS);
    if (!file.valid()) {
        return LastError(FileStep::Create);
    }
    if (!IsDiskFile(file.get())) {
        return NotRegularFile();
    }
    if (!SetEndOfFile(file.get())) {
        return LastError(FileStep::Create);
    }
    return {};
}

bool WriteAll(HANDLE file, const char* data, size_t size) {
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr)) {
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// Someone else has a file of that name.
bool IsTaken(DWORD code) {
    return code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
}

// Where the name of a path begins: after its last separator or drive colon.
size_t NameStart(const std::wstring& path) {
    size_t slash = path.size();
    while (slash > 0 && !IsSeparator(path[slash - 1]) && path[slash - 1] != L':') {
        --slash;
    }
    return slash;
}

// A name beside `path` that no one else uses, for the copy or the new contents until they are
// whole.
std::wstring TemporaryBeside(const std::wstring& path) {
    static std::atomic<unsigned> counter{0};
    const size_t slash = NameStart(path);
    std::wstring prefix;
    static_cast<void>(ToWide(TemporaryPrefix(ToUtf8(path.substr(slash))), prefix));
    return path.substr(0, slash) + prefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
}

// Creates the temporary file beside `path`; its name goes into `temp`.
HANDLE CreateTemporaryBeside(const std::wstring& path, std::wstring& temp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = TemporaryBeside(path);
        const HANDLE file = Open(temp, GENERIC_WRITE, 0, CREATE_NEW);
        if (file != INVALID_HANDLE_VALUE || !IsTaken(GetLastError())) {
            return file;
        }
    }
    return INVALID_HANDLE_VALUE;
}

// Removes a temporary file after a failure, keeping the failure's code for the caller.
void Discard(const std::wstring& temp) {
    const DWORD code = GetLastError();
    SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL); // a copy of a read-only source
    DeleteFileW(temp.c_str());
    SetLastError(code);
}

// Whether `path` names the file open at `file`, through whatever share, link or drive letter.
bool IsSameFile(HANDLE file, const std::wstring& path) {
    BY_HANDLE_FILE_INFORMATION self{};
    BY_HANDLE_FILE_INFORMATION other{};
    Handle target(Open(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS));
    if (!target.valid() || !GetFileInformationByHandle(file, &self) ||
        !GetFileInformationByHandle(target.get(), &other)) {
        return false;
    }
    // Some file systems have no file index (it is zero); two files there are never the same.
    return (self.nFileIndexHigh != 0 || self.nFileIndexLow != 0) &&
           self.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
           self.nFileIndexHigh == other.nFileIndexHigh && self.nFileIndexLow == other.nFileIndexLow;
}

// Lines gathered in a buffer and written when it fills: a report of half a million lines costs
// a few hundred system calls instead of one per line.
class WindowsLineWriter final : public LineWriter {
public:
    explicit WindowsLineWriter(HANDLE file) : m_file(file) { m_buffer.reserve(kBufferSize + 4096); }

    FileResult WriteLine(std::string_view line) override {
        if (!m_failure.ok()) {
            return m_failure;
        }
        m_buffer.append(line).append("\r\n");
        return m_buffer.size() >= kBufferSize ? Flush() : FileResult{};
    }
    FileResult Flush() override {
        if (m_failure.ok() && !WriteAll(m_file.get(), m_buffer.data(), m_buffer.size())) {
            m_failure = LastError(FileStep::Create);
        }
        m_buffer.clear();
        return m_failure;
    }
    FileResult Close() override {
        const bool flushed = Flush().ok();
        if (m_file.valid() && !m_file.close() && flushed) {
            m_failure = LastError(FileStep::Create);
        }
        return m_failure;
    }

private:
    static constexpr size_t kBufferSize = 1 << 16;
    Handle m_file;
    std::string m_buffer;
    FileResult m_failure;
};

class WindowsFileSystem final : public FileSystem {
public:
    SearchResult Search(const std::string& path, bool withDirectories) override {
        std::wstring wide;
        // The search would expand these (< > and " are wildcards to it too); no name holds them.
        if (!ToWide(path, wide) || wide.find_first_of(L"*?<>\"") != std::wstring::npos) {
            return {BadName(), {}};
        }
        if (!wide.empty() && IsSeparator(wide.back())) {
            return SearchFolder(wide, withDirectories);
        }
        WIN32_FIND_DATAW found;
        const HANDLE search = FindFirstFileExW(wide.c_str(), FindExInfoBasic, &found,
                                               FindExSearchNameMatch, nullptr, 0);
        if (search == INVALID_HANDLE_VALUE) {
            return {LastError(FileStep::Search), {}};
        }
        FindClose(search);
        // As Dir's: hidden and system entries never match, folders only when asked for.
        const DWORD attributes = found.dwFileAttributes;
        if ((attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0 ||
            ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !withDirectories)) {
            return {};
        }
        return {{}, ToUtf8(found.cFileName)};
    }

    FileResult CreateDirectory(const std::string& path) override {
        std::wstring wide;
        if (!ToWide(path, wide)) {
            return BadName();
        }
        return CreateDirectoryW(wide.c_str(), nullptr) ? FileResult{} : LastError(FileStep::Create);
    }

    // The source is opened before anything else, so that a missing source is always 53. The
    // system's copy (a copy on the server itself where both ends are on one) goes to a name
    // beside the target, which replaces the target only when whole.
    FileResult CopyFile(const std::string& from, const std::string& to) override {
        std::wstring source;
        if (!ToWide(from, source)) {
            return BadName();
        }
        Handle in(Open(source, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING));
        if (!in.valid()) {
            return LastError(FileStep::Existing);
        }
        std::wstring target;
        if (!ToWide(to, target)) {
            return BadName();
        }
        // Replacing the source with a copy of itself would at best leave it as it was.
        if (IsSameFile(in.get(), target)) {
            return {kPathFileAccess, kCopyOntoItself};
        }
        std::wstring temp;
        for (int attempt = 0;; ++attempt) {
            temp = TemporaryBeside(target);
            if (CopyFileExW(source.c_str(), temp.c_str(), nullptr, nullptr, nullptr,
                            COPY_FILE_FAIL_IF_EXISTS)) {
                break;
            }
            const DWORD code = GetLastError();
            if (!IsTaken(code)) {
                Discard(temp);
                return FileErrorFrom(code, FileStep::Create);
            }
            if (attempt == 100) {
                return FileErrorFrom(code, FileStep::Create);
            }
        }
        if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            Discard(temp);
            return LastError(FileStep::Create);
        }
        return {};
    }

    FileResult DeleteFile(const std::string& path) override {
        std::wstring wide;
        if (!ToWide(path, wide)) {
            return BadName();
        }
        return DeleteFileW(wide.c_str()) ? FileResult{} : LastError(FileStep::Existing);
    }

    FileResult CreateEmptyFile(const std::string& path) override {
        std::wstring wide;
        if (!ToWide(path, wide)) {
            return BadName();
        }
        Handle file;
        if (FileResult r = OpenEmptied(wide, file); !r.ok()) {
            return r;
        }
        return file.close() ? FileResult{} : LastError(FileStep::Create);
    }

    FileResult AppendLine(const std::string& path, const std::string& line) override {
        std::wstring wide;
        if (!ToWide(path, wide)) {
            return BadName();
        }
        // Append access alone: every write goes to the end, even with another writer.
        Handle file(Open(wide, FILE_APPEND_DATA, FILE_SHARE_READ, OPEN_ALWAYS));
        if (file.valid() && !IsDiskFile(file.get())) {
            return NotRegularFile();
        }
        const std::string text = line + "\r\n";
        if (!file.valid() || !WriteAll(file.get(), text.data(), text.size()) || !file.close()) {
            return LastError(FileStep::Create);
        }
        return {};
    }

    FileResult ReadTextFile(const std::string& path, std::string& contents,
                            std::uint64_t limit) override {
        contents.clear();
        std::wstring wide;
        if (!ToWide(path, wide)) {
            return BadName();
        }
        Handle file(Open(wide, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN));
        if (!file.valid()) {
            return LastError(FileStep::Existing);
        }
        // Room for the whole file at once: growing by doubling would hold up to three times a
        // big report's size while it is read.
        if (!IsDiskFile(file.get())) {
            return NotRegularFile();
        }
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file.get(), &size)) {
            return LastError(FileStep::Existing);
        }
        if (static_cast<std::uint64_t>(size.QuadPart) > limit) {
            return LargerThan(limit);
        }
        contents.reserve(static_cast<size_t>(size.QuadPart));
        char buffer[1 << 16];
        for (;;) {
            DWORD n = 0;
            if (!ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr)) {
                const FileResult r = LastError(FileStep::Existing);
                contents.clear();
                return r;
            }
            if (n == 0) {
                return {};
            }
            contents.append(buffer, n);
            if (contents.size() > limit) { // grown while read
                contents.clear();
                return LargerThan(limit);
            }
        }
    }

    FileResult ReplaceFile(const std::string& path, const std::string& contents) override {
        std::wstring target;
        if (!ToWide(path, target)) {
            return BadName();
        }
        std::wstring temp;
        Handle out(CreateTemporaryBeside(target, temp));
        if (!out.valid()) {
            return LastError(FileStep::Create);
        }
        if (!WriteAll(out.get(), contents.data(), contents.size()) ||
            !FlushFileBuffers(out.get()) || !out.close() ||
            !MoveFileExW(temp.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const FileResult r = LastError(FileStep::Create);
            out = INVALID_HANDLE_VALUE;
            Discard(temp);
            return r;
        }
        return {};
    }

    FileResult RemoveLeftovers(const std::string& path) override {
        std::wstring wide;
        if (!ToWide(path, wide)) {
            return BadName();
        }
        const size_t start = NameStart(wide);
        const std::wstring folder = wide.substr(0, start);
        std::wstring pattern;
        // The prefix holds no wildcard: it is the target's name, and a name holds none.
        if (!ToWide(TemporaryPrefix(ToUtf8(wide.substr(start))), pattern)) {
            return BadName();
        }
        WIN32_FIND_DATAW found;
        const HANDLE search = FindFirstFileExW((folder + pattern + L"*").c_str(), FindExInfoBasic,
                                               &found, FindExSearchNameMatch, nullptr, 0);
        if (search == INVALID_HANDLE_VALUE) {
            return LastError(FileStep::Search);
        }
        FileResult result;
        do {
            const std::wstring name = found.cFileName;
            // The search also matches short names; only a long name of this form is ours.
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
                name.size() > pattern.size() && name.compare(0, pattern.size(), pattern) == 0) {
                const std::wstring full = folder + name;
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (!DeleteFileW(full.c_str()) && result.ok()) {
                    result = LastError(FileStep::Existing);
                }
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return result;
    }

    FileResult OpenLineWriter(const std::string& path,
                              std::unique_ptr<LineWriter>& writer) override {
        writer.reset();
        std::wstring wide;
        if (!ToWide(path, wide)) {
            return BadName();
        }
        Handle file;
        if (FileResult r = OpenEmptied(wide, file); !r.ok()) {
            return r;
        }
        writer = std::make_unique<WindowsLineWriter>(file.release());
        return {};
    }

    // Windows keeps what it learns of servers itself.
    void BeginBatch() override {}
    void EndBatch() override {}

private:
    // A share's root has no entry of its own that a search could find, so the folder named by a
    // path ending in a separator is looked at directly.
    static SearchResult SearchFolder(std::wstring path, bool withDirectories) {
        while (!path.empty() && IsSeparator(path.back())) {
            path.pop_back();
        }
        if (IsRoot(path)) {
            path += L'\\';
        }
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            return {LastError(FileStep::Search), {}};
        }
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || !withDirectories) {
            return {};
        }
        return {{}, "."};
    }
};

} // namespace

std::unique_ptr<FileSystem> MakeNativeFileSystem(std::string) {
    return std::make_unique<WindowsFileSystem>();
}

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
    return std::make_unique<WindowsFileSystem>();
}

} // namespace corvane
