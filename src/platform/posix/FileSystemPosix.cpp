// FileSystem on POSIX: local paths through the system calls, UNC paths through the lab network.
#include "platform/NativeFileSystem.h"

#include "platform/posix/AtomicFile.h"
#include "platform/posix/InOrder.h"
#include "platform/posix/Lab.h"
#include "platform/posix/LabMemory.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <unordered_set>
#include <utility>
#include <vector>

namespace corvane {
namespace {

FileResult FromErrno(int err, int notFound = kFileNotFound) {
    FileResult r;
    switch (err) {
    case ENOENT:
        r.error = notFound;
        break;
    case ENOTDIR:
        r.error = kPathNotFound;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        r.error = kPermissionDenied;
        break;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        r.error = kDiskFull;
        break;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        r.error = kBadFileName;
        break;
    default:
        r.error = kPathFileAccess;
        break;
    }
    r.reason = std::strerror(err);
    return r;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now, so that a failure of the close itself (a late write error) is seen.
    int close() {
        const int rc = ::close(m_fd);
        m_fd = -1;
        return rc;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DirName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool HasNul(const std::string& path) {
    return path.find('\0') != std::string::npos;
}

// Opens a file that is to be read or written whole, without waiting: a pipe without a writer (or
// a reader) would hold the open, a device would never end. Only a regular file is left open (for
// writing in blocking mode again), with what fstat said of it in `info`; otherwise `refusal` says
// why.
int OpenRegular(const std::string& path, int flags, FileResult& refusal, int notFound,
                struct stat* info = nullptr) {
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        // A pipe nobody reads cannot be opened for writing without waiting.
        refusal = errno == ENXIO ? NotRegularFile() : FromErrno(errno, notFound);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) {
        refusal = NotRegularFile();
        ::close(fd);
        return -1;
    }
    // F_SETFL takes only the status flags (O_APPEND, O_NONBLOCK, ...) from `flags`: the ones asked
    // for, without O_NONBLOCK, with no need to read them back first. A file open only for
    // reading keeps O_NONBLOCK: a regular file is read the same with it or without.
    const bool reading = (flags & O_ACCMODE) == O_RDONLY;
    if (!S_ISREG(st.st_mode) || (!reading && ::fcntl(fd, F_SETFL, flags) != 0)) {
        refusal = FromErrno(errno);
        ::close(fd);
        return -1;
    }
    if (info != nullptr) {
        *info = st;
    }
    return fd;
}

// Puts the file `temp` in the place of the file `to`, in one step. A regular file is swapped
// with it (`swapped`), so the old file is then under the temporary name: ext4 writes a file
// renamed over another to disk at once, which made a redeploy of many small files more than twice
// as slow as writing them in place. Where names cannot be swapped, or `to` is something else, a
// plain rename.
bool ReplaceWith(const std::string& temp, const std::string& to, bool toIsRegularFile,
                 bool& swapped) {
    swapped = toIsRegularFile &&
              ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE) == 0;
    return swapped || ::rename(temp.c_str(), to.c_str()) == 0;
}

// The process's file creation mask, read once from /proc: the system call that reads it also
// sets it, for every thread at once. -1 when it cannot be read.
int ProcessUmask() {
    static const int mask = [] {
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("Umask:", 0) == 0) {
                return static_cast<int>(std::strtol(line.c_str() + 6, nullptr, 8));
            }
        }
        return -1;
    }();
    return mask;
}

// Whether no other open file leads to the file open for writing at fd (nobody reads it, maps it
// or runs it): only then does the system grant a write lease, given back at once. Should someone
// open the file in between, the system tells the holder with SIGURG, ignored unless handled,
// rather than SIGIO, which would end the program.
bool OpenNowhereElse(int fd) {
    return ::fcntl(fd, F_SETSIG, SIGURG) == 0 && ::fcntl(fd, F_SETLEASE, F_WRLCK) == 0 &&
           ::fcntl(fd, F_SETLEASE, F_UNLCK) == 0;
}

// Whether the file open for writing at fd may be written over as a new copy: a regular file of
// this user's, reached by no other name and open nowhere else, so that nobody sees it change. Its
// permissions are made those a new file with `mode` gets.
bool MayWriteOver(int fd, mode_t mode) {
    struct stat st {};
    const int mask = ProcessUmask();
    if (mask < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1 ||
        st.st_uid != ::geteuid() || st.st_gid != ::getegid() || !OpenNowhereElse(fd)) {
        return false;
    }
    const mode_t wanted = mode & ~static_cast<mode_t>(mask);
    return (st.st_mode & 07777) == wanted || ::fchmod(fd, wanted) == 0;
}

// Cuts the file open at fd where its writing stopped: a file written over may have been longer.
bool EndHere(int fd) {
    const off_t end = ::lseek(fd, 0, SEEK_CUR);
    return end >= 0 && ::ftruncate(fd, end) == 0;
}

constexpr const char* kCopyOntoItself = "The destination is the file itself";

FileResult BadName() {
    return {kBadFileName, "Bad file name"};
}

// A file that is missing is "file not found" when its folder exists, "path not found" when the
// folder itself is missing, as on Windows.
int NotFoundFor(const std::string& path) {
    struct stat st {};
    return ::stat(DirName(path).c_str(), &st) == 0 ? kFileNotFound : kPathNotFound;
}

// The start of the name of a temporary file beside `path` (see TemporaryPrefix), as a path.
std::string TemporaryBeside(const std::string& path) {
    return DirName(path) + "/" + TemporaryPrefix(BaseName(path));
}

// Gives the unnamed file open at fd (O_TMPFILE) the name `path`: through the descriptor itself
// where the system allows it (Linux 6.10 on, or with the privilege), else through its /proc
// entry, which needs no privilege. False, with errno set, when that fails (EEXIST: the name is
// taken).
bool LinkAnonymous(int fd, const std::string& path) {
    // Once /proc has named a file the descriptor could not, the descriptor is not tried again:
    // on an older system every copy would spend a system call on the refusal.
    static std::atomic<bool> descriptorRefused = false;
    if (!descriptorRefused) {
        if (::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) {
            return true;
        }
        if (errno != ENOENT && errno != EPERM && errno != EINVAL) {
            return false;
        }
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        return false;
    }
    descriptorRefused = true;
    return true;
}

// Copies the rest of `in` into `out`: in the kernel where it can (copy_file_range), else, as
// between some file systems or when the call is refused, through a buffer. `size` is the
// source's size when it was opened; a file the system reports as empty is copied to its end.
bool CopyContents(int in, int out, off_t size) {
    bool inKernel = true;
    off_t copied = 0;
    for (;;) {
        if (inKernel) {
            const size_t chunk = size > copied ? static_cast<size_t>(size - copied) : (1u << 20);
            const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, chunk, 0);
            if (n > 0) {
                copied += n;
                if (copied >= size && size > 0) {
                    return true;
                }
                continue;
            }
            if (n == 0) {
                return true;
            }
            if (errno == EINTR) {
                continue;
            }
            if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP &&
                errno != EPERM && errno != EBADF) {
                return false;
            }
            inKernel = false; // the offsets stand where the kernel left them
        }
        char buffer[1 << 16];
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n == 0;
        }
        if (!WriteAll(out, buffer, static_cast<size_t>(n))) {
            return false;
        }
    }
}

// The old file a replacement swapped out, kept under its temporary name during a run and written
// over by the next replacement in the same folder instead of deleted: on ext4 mounted with
// `discard` and without a journal, every block a deleted file frees is discarded at once, waiting
// on the disk (a redeploy of small files took two to six times as long). Deleted when the run
// ends or when the next replacement is in another folder.
class SpareFile {
public:
    SpareFile() = default;
    ~SpareFile() { Delete(); }
    SpareFile(const SpareFile&) = delete;
    SpareFile& operator=(const SpareFile&) = delete;

    // The kept file, opened to be written over as the copy to `to`, its name in `temp`. -1, and
    // the kept file deleted, when it is in another folder or may not be written over.
    int Reuse(const std::string& to, mode_t mode, std::string& temp) {
        if (m_path.empty() || DirName(m_path) != DirName(to)) {
            Delete();
            return -1;
        }
        const int fd = ::open(m_path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0 && MayWriteOver(fd, mode)) {
            temp = std::exchange(m_path, {});
            return fd;
        }
        if (fd >= 0) {
            ::close(fd);
        }
        Delete();
        return -1;
    }

    // The old file `temp` holds after a swap: kept when `keep` (during a run), else deleted.
    void KeepOrDelete(std::string temp, bool keep) {
        if (keep && m_path.empty()) {
            m_path = std::move(temp);
        } else {
            ::unlink(temp.c_str());
        }
    }

    void Delete() {
        if (!m_path.empty()) {
            ::unlink(m_path.c_str());
            m_path.clear();
        }
    }

private:
    std::string m_path;
};

// Copies the rest of `in` (`size` bytes when opened) into a temporary file beside `to` with
// permissions `mode`, then puts it in the place of `to`. The old file a swap leaves is kept in
// `spare` when `keep`.
FileResult CopyBeside(int in, off_t size, mode_t mode, const std::string& to, bool toIsRegularFile,
                      SpareFile& spare, bool keep) {
    std::string temp;
    const int reused = spare.Reuse(to, mode, temp);
    Descriptor out(reused >= 0 ? reused
                               : CreateUniqueFile(AT_FDCWD, TemporaryBeside(to), mode, temp));
    if (out.get() < 0) {
        return FromErrno(errno, kPathNotFound);
    }
    auto fail = [&temp](int err) {
        ::unlink(temp.c_str());
        return FromErrno(err);
    };
    if (!CopyContents(in, out.get(), size) || (reused >= 0 && !EndHere(out.get()))) {
        return fail(errno);
    }
    bool swapped = false;
    if (out.close() != 0 || !ReplaceWith(temp, to, toIsRegularFile, swapped)) {
        return fail(errno);
    }
    if (swapped) {
        spare.KeepOrDelete(std::move(temp), keep);
    }
    return {};
}

// One copy with its paths resolved (see PosixFileSystem::Resolve): a failure to resolve is
// said in the order CopyFile's promise asks for, the source's first.
struct CopyJob {
    FileResult fromResolved;
    std::string from;
    FileResult toResolved;
    std::string to;
    bool lastMissing = false; // the lab has just found the target's name missing in its folder
};

// Whether the copies may run at once: no two of them lead to one file (names are compared
// without regard to the case of ASCII letters, as the lab compares them), and none reads a file
// another writes.
bool Independent(const std::vector<CopyJob>& jobs) {
    std::unordered_set<std::string> targets;
    for (const CopyJob& job : jobs) {
        if (job.toResolved.ok() && !targets.insert(lab::Lowered(job.to)).second) {
            return false;
        }
    }
    return std::none_of(jobs.begin(), jobs.end(), [&](const CopyJob& job) {
        return job.fromResolved.ok() && targets.contains(lab::Lowered(job.from));
    });
}

// How many copies run at once: the lab's copies are work for the processor in the kernel, and
// two at once gain even on one processor while one waits for the disk.
unsigned CopyWorkers() {
    return std::clamp(std::thread::hardware_concurrency(), 2u, 4u);
}

// The copy of a resolved job. `spare` is the old file the last replacement of this thread swapped
// out, kept (during a run, `keep`) to be written over by the next one in the same folder.
FileResult CopyResolved(const CopyJob& job, SpareFile& spare, bool keep) {
    if (!job.fromResolved.ok()) {
        return job.fromResolved;
    }
    Descriptor in(::open(job.from.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) {
        return FromErrno(errno, NotFoundFor(job.from));
    }
    struct stat source {};
    if (::fstat(in.get(), &source) != 0) {
        return FromErrno(errno);
    }
    if (S_ISDIR(source.st_mode)) {
        return {kPermissionDenied, std::strerror(EISDIR)};
    }
    if (!job.toResolved.ok()) {
        return job.toResolved;
    }
    const std::string& to = job.to;
    // A destination that is the source itself (through a share, a link or a mount) would be
    // replaced by a copy of itself at best; it is left untouched and the copy counts as failed.
    // A name the lab has just found missing is not looked for again.
    struct stat target {};
    const auto isSource = [&] {
        return target.st_dev == source.st_dev && target.st_ino == source.st_ino;
    };
    const bool exists = !job.lastMissing && ::stat(to.c_str(), &target) == 0;
    if (exists && isSource()) {
        return {kPathFileAccess, kCopyOntoItself};
    }
    const mode_t mode = source.st_mode & 0777;
    // A new destination is written as a file without a name, which gets its name only when
    // whole: little more work than creating it in place, and nothing is left by a crash. Where
    // the file system cannot (or the name is taken), a named temporary file is renamed over.
    Descriptor anonymous(
        exists ? -1 : ::open(DirName(to).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    if (anonymous.get() >= 0) {
        if (!CopyContents(in.get(), anonymous.get(), source.st_size)) {
            return FromErrno(errno);
        }
        if (LinkAnonymous(anonymous.get(), to) && anonymous.close() == 0) {
            return {};
        }
        const int err = errno;
        if (err != EEXIST) {
            ::unlink(to.c_str());
            return FromErrno(err);
        }
        // Someone else made the name meanwhile: it may even be the source.
        if (::stat(to.c_str(), &target) == 0 && isSource()) {
            return {kPathFileAccess, kCopyOntoItself};
        }
        if (::lseek(in.get(), 0, SEEK_SET) != 0) {
            return FromErrno(errno);
        }
    }
    return CopyBeside(in.get(), source.st_size, mode, to, S_ISREG(target.st_mode), spare, keep);
}

// Lines gathered in a buffer and written when it fills: a report of half a million lines costs
// a few hundred system calls instead of three per line.
class PosixLineWriter final : public LineWriter {
public:
    explicit PosixLineWriter(int fd) : m_fd(fd) { m_buffer.reserve(kBufferSize + 4096); }

    FileResult WriteLine(std::string_view line) override {
        if (!m_failure.ok()) {
            return m_failure;
        }
        m_buffer.append(line).append("\r\n");
        return m_buffer.size() >= kBufferSize ? Flush() : FileResult{};
    }
    FileResult Flush() override {
        if (m_failure.ok() && !WriteAll(m_fd.get(), m_buffer.data(), m_buffer.size())) {
            m_failure = FromErrno(errno);
        }
        m_buffer.clear();
        return m_failure;
    }
    FileResult Close() override {
        const bool flushed = Flush().ok();
        if (m_fd.get() >= 0 && m_fd.close() != 0 && flushed) {
            m_failure = FromErrno(errno);
        }
        return m_failure;
    }

private:
    static constexpr size_t kBufferSize = 1 << 16;
    Descriptor m_fd;
    std::string m_buffer;
    FileResult m_failure;
};

class PosixFileSystem : public FileSystem {
public:
    explicit PosixFileSystem(std::string networkRoot) : m_network(std::move(networkRoot)) {}
    ~PosixFileSystem() override = default;
    PosixFileSystem(const PosixFileSystem&) = delete;
    PosixFileSystem& operator=(const PosixFileSystem&) = delete;

    SearchResult Search(const std::string& unresolved, bool withDirectories) override {
        // During a run the name as spelled is tried first, and another spelling is looked for
        // only when it is missing: a folder whose names are all spelled right is never listed.
        std::string path;
        LastPart last;
        if (FileResult r = Localize(unresolved, path, &last, !m_memory); !r.ok()) {
            return {r, {}};
        }
        const bool namesFolder = !path.empty() && path.back() == '/';
        struct stat st {};
        int rc = ::stat(path.c_str(), &st);
        if (rc != 0 && errno == ENOENT && last.unmatched) {
            if (FileResult r = Localize(unresolved, path); !r.ok()) {
                return {r, {}};
            }
            rc = ::stat(path.c_str(), &st);
        }
        if (rc != 0) {
            if (errno == ENOENT || errno == ENOTDIR) {
                return {};
            }
            return {FromErrno(errno), {}};
        }
        if (S_ISDIR(st.st_mode)) {
            if (!withDirectories) {
                return {};
            }
            return {{}, namesFolder ? std::string(".") : BaseName(path)};
        }
        if (namesFolder) {
            return {};
        }
        return {{}, BaseName(path)};
    }

    FileResult CreateDirectory(const std::string& unresolved) override {
        std::string path;
        if (FileResult r = Localize(unresolved, path); !r.ok()) {
            return r;
        }
        if (::mkdir(path.c_str(), 0777) != 0) {
            return errno == EEXIST ? FileResult{kPathFileAccess, std::strerror(EEXIST)}
                                   : FromErrno(errno, kPathNotFound);
        }
        return {};
    }

    // The source is opened before the destination is even resolved, so that a missing local
    // file is always 53 (see CopyResolved).
    FileResult CopyFile(const std::string& unresolvedFrom,
                        const std::string& unresolvedTo) override {
        return CopyResolved(Resolve(unresolvedFrom, unresolvedTo), m_spare, m_memory != nullptr);
    }

    // The paths are resolved first, here, for the run's memory is this thread's alone; then the
    // copies run on several threads, each with its own kept old file, unless two of them lead to
    // one file or one reads what another writes: those run one after the other, each resolved
    // after the one before, as CopyFile would.
    void CopyFiles(const std::vector<std::string>& from, const std::vector<std::string>& to,
                   const CopyResultHandler& each) override {
        const std::size_t n = std::min(from.size(), to.size());
        std::vector<CopyJob> jobs;
        jobs.reserve(n);
        for (std::size_t i = 0; i < n; ++i) {
            jobs.push_back(Resolve(from[i], to[i]));
        }
        const bool together = Independent(jobs);
        const unsigned workers = together ? CopyWorkers() : 1;
        std::vector<SpareFile> spares(workers);
        const bool keep = m_memory != nullptr;
        RunInOrder(
            n, workers,
            [&](std::size_t i, unsigned worker) {
                return CopyResolved(together ? jobs[i] : Resolve(from[i], to[i]), spares[worker],
                                    keep);
            },
            each);
    }

    FileResult DeleteFile(const std::string& unresolved) override {
        std::string path;
        if (FileResult r = Localize(unresolved, path); !r.ok()) {
            return r;
        }
        if (::unlink(path.c_str()) != 0) {
            return FromErrno(errno, NotFoundFor(path));
        }
        return {};
    }

    FileResult CreateEmptyFile(const std::string& unresolved) override {
        std::string path;
        if (FileResult r = Localize(unresolved, path); !r.ok()) {
            return r;
        }
        FileResult refusal;
        Descriptor fd(OpenRegular(path, O_WRONLY | O_CREAT, refusal, kPathNotFound));
        if (fd.get() < 0) {
            return refusal;
        }
        if (::ftruncate(fd.get(), 0) != 0) {
            return FromErrno(errno);
        }
        return fd.close() == 0 ? FileResult{} : FromErrno(errno);
    }

    FileResult AppendLine(const std::string& unresolved, const std::string& line) override {
        std::string path;
        if (FileResult r = Localize(unresolved, path); !r.ok()) {
            return r;
        }
        FileResult refusal;
        Descriptor fd(OpenRegular(path, O_WRONLY | O_CREAT | O_APPEND, refusal, kPathNotFound));
        if (fd.get() < 0) {
            return refusal;
        }
        const std::string text = line + "\r\n";
        if (!WriteAll(fd.get(), text.data(), text.size())) {
            return FromErrno(errno);
        }
        return fd.close() == 0 ? FileResult{} : FromErrno(errno);
    }

    FileResult ReadTextFile(const std::string& unresolved, std::string& contents,
                            std::uint64_t limit) override {
        contents.clear();
        std::string path;
        if (FileResult r = Localize(unresolved, path); !r.ok()) {
            return r;
        }
        FileResult refusal;
        struct stat info {};
        Descriptor fd(OpenRegular(path, O_RDONLY, refusal, kFileNotFound, &info));
        if (fd.get() < 0) {
            // Which of the two "not found" it is costs a look at the folder: only when missing.
            if (refusal.error == kFileNotFound) {
                refusal.error = NotFoundFor(path);
            }
            return refusal;
        }
        if (static_cast<std::uint64_t>(info.st_size) > limit) {
            return LargerThan(limit);
        }
        // Read straight into the text, with room for the whole file and one byte more: a file
        // that is as long as it was when opened ends at the first read that comes back short.
        // (Growing by doubling would hold up to three times a big report's size.)
        size_t size = 0;
        size_t room = static_cast<size_t>(info.st_size) + 1;
        for (;;) {
            contents.resize(size + room);
            const ssize_t n = ::read(fd.get(), contents.data() + size, room);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                FileResult r = FromErrno(errno);
                contents.clear();
                return r;
            }
            size += static_cast<size_t>(n);
            if (size > limit) { // grown while read
                contents.clear();
                return LargerThan(limit);
            }
            const bool whole = static_cast<size_t>(n) < room &&
                               size == static_cast<size_t>(info.st_size); // not /proc's 0
            if (n == 0 || whole) {
                contents.resize(size);
                return {};
            }
            room = 1 << 16;
        }
    }

    FileResult ReplaceFile(const std::string& unresolved, const std::string& contents) override {
        std::string path;
        if (FileResult r = Localize(unresolved, path); !r.ok()) {
            return r;
        }
        // A pipe or a device is not replaced by a file of the same name: it is refused, as
        // opening it would be.
        struct stat existing {};
        const bool exists = ::stat(path.c_str(), &existing) == 0;
        if (exists && !S_ISREG(existing.st_mode)) {
            return NotRegularFile();
        }
        AtomicFile file;
        file.target = path;
        file.temporary = TemporaryBeside(path);
        file.uniqueTemporary = true;
        // Keep the permissions the old file had; a new file gets the usual ones.
        file.mode = exists ? (existing.st_mode & 0777) : 0644;
        const AtomicOutcome outcome = WriteAtomically(file, contents);
        if (!outcome.ok()) {
            return FromErrno(outcome.error,
                             outcome.failed == AtomicStep::Create ? kPathNotFound : kFileNotFound);
        }
        return {};
    }

    FileResult RemoveLeftovers(const std::string& unresolved) override {
        std::string path;
        if (FileResult r = Localize(unresolved, path); !r.ok()) {
            return r;
        }
        const std::string dir = DirName(path);
        const std::string prefix = TemporaryPrefix(BaseName(path));
        DIR* listing = ::opendir(dir.c_str());
        if (listing == nullptr) {
            return FromErrno(errno, kPathNotFound);
        }
        FileResult result;
        std::string full = dir + "/";
        const size_t folderLength = full.size();
        while (const dirent* entry = ::readdir(listing)) {
            const std::string_view name = entry->d_name;
            if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
                continue;
            }
            // Only files: a folder or a link of that name is not one of ours.
            full.resize(folderLength);
            full += name;
            struct stat st {};
            if (::lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                ::unlink(full.c_str()) != 0 && result.ok()) {
                result = FromErrno(errno);
            }
        }
        ::closedir(listing);
        return result;
    }

    FileResult OpenLineWriter(const std::string& unresolved,
                              std::unique_ptr<LineWriter>& writer) override {
        writer.reset();
        std::string path;
        if (FileResult r = Localize(unresolved, path); !r.ok()) {
            return r;
        }
        FileResult refusal;
        const int fd = OpenRegular(path, O_WRONLY | O_CREAT, refusal, kPathNotFound);
        if (fd < 0) {
            return refusal;
        }
        writer = std::make_unique<PosixLineWriter>(fd);
        if (::ftruncate(fd, 0) != 0) {
            FileResult r = FromErrno(errno);
            writer.reset();
            return r;
        }
        return {};
    }

    void BeginBatch() override {
        if (m_batches++ == 0) {
            m_memory = std::make_unique<lab::RunMemory>();
        }
    }
    void EndBatch() override {
        if (m_batches > 0 && --m_batches == 0) {
            m_memory.reset();
            m_spare.Delete();
        }
    }

protected:
    enum class Change { File, Folder, Removed };

    // Tells the run's memory what an operation changed, so that the rest of the run sees it.
    FileResult Noted(FileResult result, const std::string& unresolved, Change change) {
        const bool changed =
            result.ok() || (change == Change::Removed && result.error == kFileNotFound);
        std::string path;
        if (m_memory && changed && Localize(unresolved, path).ok()) {
            if (change == Change::Removed) {
                m_memory->NoteRemoved(path);
            } else {
                m_memory->NoteCreated(path, change == Change::Folder);
            }
        }
        return result;
    }

private:
    // What resolving said of a path's last part (see lab::Resolved).
    struct LastPart {
        bool unmatched = false;
        bool missing = false;
    };

    // The local path a path stands for: itself, or where the lab network leads a UNC path.
    // With matchLast false the last part keeps its spelling (Search looks for another one only
    // when that spelling is missing).
    FileResult Localize(const std::string& path, std::string& local, LastPart* last = nullptr,
                        bool matchLast = true) const {
        if (HasNul(path)) {
            return BadName();
        }
        if (!lab::IsUncPath(path)) {
            local = path;
            return {};
        }
        lab::Lookups& lookups = m_memory ? *m_memory : lab::FreshLookups();
        lab::Resolved resolved = m_network.Resolve(path, lookups, matchLast);
        if (!resolved.ok()) {
            return {resolved.error, std::move(resolved.reason)};
        }
        local = std::move(resolved.path);
        if (last != nullptr) {
            *last = {resolved.lastUnmatched, resolved.lastMissing};
        }
        return {};
    }

    CopyJob Resolve(const std::string& from, const std::string& to) const {
        CopyJob job;
        job.fromResolved = Localize(from, job.from);
        LastPart last;
        job.toResolved = Localize(to, job.to, &last);
        job.lastMissing = last.missing;
        return job;
    }

    lab::Network m_network;
    int m_batches = 0;
    std::unique_ptr<lab::RunMemory> m_memory; // only during a run
    SpareFile m_spare;                        // CopyFile's kept old file
};

// Every change the program makes is noted in the run's memory, so that a name created during a
// run is found, in any spelling, for the rest of it.
class NotingFileSystem final : public PosixFileSystem {
public:
    using PosixFileSystem::PosixFileSystem;

    FileResult CreateDirectory(const std::string& path) override {
        return Noted(PosixFileSystem::CreateDirectory(path), path, Change::Folder);
    }
    FileResult CopyFile(const std::string& from, const std::string& to) override {
        return Noted(PosixFileSystem::CopyFile(from, to), to, Change::File);
    }
    void CopyFiles(const std::vector<std::string>& from, const std::vector<std::string>& to,
                   const CopyResultHandler& each) override {
        PosixFileSystem::CopyFiles(from, to, [&](std::size_t i, const FileResult& result) {
            return each(i, Noted(result, to[i], Change::File));
        });
    }
    FileResult DeleteFile(const std::string& path) override {
        return Noted(PosixFileSystem::DeleteFile(path), path, Change::Removed);
    }
    FileResult CreateEmptyFile(const std::string& path) override {
        return Noted(PosixFileSystem::CreateEmptyFile(path), path, Change::File);
    }
    FileResult AppendLine(const std::string& path, const std::string& line) override {
        return Noted(PosixFileSystem::AppendLine(path, line), path, Change::File);
    }
    FileResult ReplaceFile(const std::string& path, const std::string& contents) override {
        return Noted(PosixFileSystem::ReplaceFile(path, contents), path, Change::File);
    }
    FileResult OpenLineWriter(const std::string& path,
                              std::unique_ptr<LineWriter>& writer) override {
        return Noted(PosixFileSystem::OpenLineWriter(path, writer), path, Change::File);
    }
};

} // namespace

std::unique_ptr<FileSystem> MakeNativeFileSystem(std::string networkRoot) {
    return std::make_unique<NotingFileSystem>(std::move(networkRoot));
}

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
    return std::make_unique<NotingFileSystem>(std::string());
}

} // namespace corvane
