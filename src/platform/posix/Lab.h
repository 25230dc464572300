// The lab network: where a UNC path leads on POSIX, and what a stand-in server's settings say.
#pragma once

#include "platform/FileError.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::lab {

// The network is a folder: ROOT/SERVER/ is a server, ROOT/SERVER/C$ .. G$ its shares, and
// ROOT/SERVER/.lab its settings. No Qt here: the stand-in tools link this too.

// The key=value lines of SERVER/.lab. Unknown keys and lines without '=' are ignored, so that
// a settings file written by a later version still reads.
struct ServerSettings {
    bool offline = false;          // offline=yes
    bool denied = false;           // access=denied
    bool hang = false;             // hang=yes
    std::optional<long long> boot; // boot=<seconds since the epoch>
    // Why .lab exists but could not be read (a link, not a regular file, too large, no
    // permission); empty when it was read or is missing. Such a server is not reachable: what
    // its settings would say is unknown.
    std::string unreadable;
};

ServerSettings ParseSettings(std::string_view text);
// The settings as .lab holds them, one key=value line each, only those that differ from the
// defaults.
std::string FormatSettings(const ServerSettings& settings);

// One server as the network knows it.
struct Server {
    std::string folder; // its local folder, without a separator at the end; empty when missing
    ServerSettings settings;

    bool Exists() const { return !folder.empty(); }
    bool Reachable() const { return Exists() && !settings.offline && settings.unreadable.empty(); }
};

// Where a UNC path leads: a local path, or the error and Windows' own words for it.
struct Resolved {
    int error = kFileOk; // a FileError
    std::string reason;
    std::string path;
    // The last part kept its spelling without being matched (Resolve with matchLast false): when
    // nothing has that spelling, another spelling may still exist.
    bool lastUnmatched = false;
    // The last part was matched and no name of its folder has it, as the lookups saw the folder:
    // a copy need not look for it again (others may have made it since a run's memory listed it).
    bool lastMissing = false;

    bool ok() const { return error == kFileOk; }
};

// Where the folders of a path led: the local folder (or why there is none), and whether every
// part of it exists (below a missing part nothing is matched).
struct Walk {
    Resolved folder;
    bool complete = true;
};

// What resolving a path asks of the disk. FreshLookups() looks anew at every call; a RunMemory
// (LabMemory.h) remembers the answers for the length of a run.
class Lookups {
public:
    virtual ~Lookups() = default;
    // As the free MatchPart below.
    virtual std::string MatchPart(std::string_view folder, std::string_view part) = 0;
    virtual bool IsDirectory(const std::string& path) = 0;
    // What the settings file of the server folder says; the defaults when it cannot be read.
    virtual ServerSettings Settings(const std::string& serverFolder) = 0;
    // Whether a name of the folder can be matched without looking at the disk.
    virtual bool Listed(std::string_view) { return false; }
    // The walk of a path's folders, by their text up to the last part, if remembered.
    virtual const Walk* RememberedWalk(std::string_view) { return nullptr; }
    virtual void RememberWalk(std::string_view, const Walk&) {}
};

Lookups& FreshLookups();

class Network {
public:
    // An empty root is a network without servers: every UNC path is unreachable.
    explicit Network(std::string root);

    // The root with one '/' at its end; empty for a network without servers.
    const std::string& Root() const { return m_root; }

    // The server of that name, matched as every part of a path is (see Resolve). A name that is
    // not one plain path part ("", ".", "..", a separator, NUL, '*' or '?') never exists.
    Server FindServer(std::string_view name) const { return FindServer(name, FreshLookups()); }
    Server FindServer(std::string_view name, Lookups& lookups) const;

    // \\SERVER\SHARE\rest -> ROOT/SERVER/SHARE/rest. Every part is matched without regard to
    // the case of the letters A to Z, an exact match first; a part that does not exist keeps its
    // spelling, so that new files get the name they were given. Backslashes and slashes both
    // separate the parts of the rest; doubled separators count once; a separator at the end is
    // kept (it names the folder itself). Errors, in this order:
    // - 52 for a text that could leave the root or names nothing: a NUL, '*' or '?', a '..'
    //   part, an empty or dotted server name, a server or share name holding '/', an empty share;
    // - 52 when the server does not exist or is offline;
    // - 70 when the server denies access;
    // - 52 when the server has no such share (only folders C$ to G$ are shares).
    Resolved Resolve(std::string_view unc) const { return Resolve(unc, FreshLookups()); }
    // With matchLast false the last part keeps its spelling unless matching it costs nothing: a
    // caller that only needs the path when that spelling exists looks again only when it does not
    // (see Resolved::lastUnmatched).
    Resolved Resolve(std::string_view unc, Lookups& lookups, bool matchLast = true) const;

private:
    Walk WalkFolders(std::string_view serverName, std::string_view shareName,
                     const std::vector<std::string_view>& parts, Lookups& lookups) const;

    std::string m_root;
};

// The network's own files of a server folder (.lab, .jobs, .jobs.new, .jobs.lock) are never
// followed through a symbolic link and are used only when they are regular files; a link placed
// there would make the tools read or write a file outside the network.
inline constexpr size_t kMaxSettingsBytes = size_t{1} << 20;
inline constexpr size_t kMaxJobFileBytes = size_t{16} << 20;

enum class OwnFile { Read, Missing, Refused };
// Reads name in the folder (folderFd, or AT_FDCWD with name a path), at most maxBytes of it,
// without blocking on a FIFO. Refused comes with the reason in words.
OwnFile ReadOwnFile(int folderFd, const std::string& name, size_t maxBytes, std::string& bytes,
                    std::string& reason);
// Opens name in the folder for reading and writing, created when missing; -1 with the reason.
int OpenOwnFile(int folderFd, const std::string& name, std::string& reason);
// Creates name in the folder afresh for writing. A regular file of that name is a leftover of a
// write that was interrupted and is removed first (callers hold the lock that guards it);
// anything else there is refused. -1 with the reason.
int CreateOwnFile(int folderFd, const std::string& name, std::string& reason);

// True for a path of the form \\SERVER...
bool IsUncPath(std::string_view path);

// Equal without regard to the case of ASCII letters, as Windows compares names.
bool EqualNoCase(std::string_view a, std::string_view b);

// The text with the ASCII letters in lower case, in `lower` (whose room is reused), as the lab
// compares names.
const std::string& Lowered(std::string_view text, std::string& lower);
std::string Lowered(std::string_view text);

// The name of the entry of folder that equals part, exactly or else without regard to case (the
// first such name in byte order, so the choice never depends on the directory's order); empty
// when there is none.
std::string MatchPart(const std::string& folder, std::string_view part);

// The times the lab knows, in seconds since 1970: up to the end of the year 9999. A boot
// setting or CORVANE_LAB_NOW outside them counts as the nearer end, so no difference overflows.
inline constexpr long long kLatestTime = 253402300799;
// A whole number of seconds, with an optional '-', clamped to 0 .. kLatestTime (also when it is
// too large for any integer); false when the text is not a whole number.
bool ParseSeconds(std::string_view text, long long& seconds);

// When the server booted: its boot setting, else the time its folder was created (its last
// change where the file system keeps no creation time).
long long BootTime(const Server& server);

// "Now" for the stand-in tools, in seconds since the epoch: CORVANE_LAB_NOW when it holds a whole
// number (clamped as above), else the system's clock.
long long Now();

// How long the server has been up; a boot time in the future (a clock set back) reads as just
// booted, never as negative.
long long UpSeconds(const Server& server);

// The network root of a stand-in tool: CORVANE_NETWORK when set, else network/ beside the
// running executable (symbolic links resolved).
std::string ToolNetworkRoot();

} // namespace corvane::lab
