#include "WindowsTestSupport.h"

#include "platform/windows/WindowsText.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace corvane::wintest {

std::wstring Wide(const std::string& utf8) {
    std::wstring wide;
    static_cast<void>(windows::ToWide(utf8, wide)); // the tests' own names are UTF-8
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    return windows::ToUtf8(wide);
}

std::string HelpersDir() {
    std::wstring module(MAX_PATH, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    module.resize(n);
    return Utf8(module.substr(0, module.find_last_of(L"\\/") + 1)) + "helpers\\";
}

namespace {

namespace stdfs = std::filesystem;

stdfs::path Native(const std::string& utf8) {
    return stdfs::path(Wide(utf8));
}

} // namespace

TempDir::TempDir() {
    static unsigned counter = 0;
    for (std::error_code error;;) {
        const stdfs::path candidate = stdfs::temp_directory_path() /
                                      (L"corvane test " + std::to_wstring(GetCurrentProcessId()) +
                                       L"-" + std::to_wstring(++counter));
        if (stdfs::create_directory(candidate, error)) {
            m_path = Utf8(candidate.wstring()) + "\\";
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    stdfs::remove_all(Native(m_path), ignored);
}

void TempDir::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Native(file(name)), std::ios::binary | std::ios::trunc) << bytes;
}

std::optional<std::string> TempDir::Read(const std::string& name) const {
    std::ifstream in(Native(file(name)), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool TempDir::Exists(const std::string& name) const {
    std::error_code ignored;
    return stdfs::exists(Native(file(name)), ignored);
}

std::set<std::string> TempDir::Names() const {
    std::set<std::string> names;
    for (const auto& entry : stdfs::directory_iterator(Native(m_path))) {
        names.insert(Utf8(entry.path().filename().wstring()));
    }
    return names;
}

namespace {

bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name") != nullptr;
}

// A Linux system call, made directly: Wine passes the instruction to the kernel.
long long LinuxCall(long long number, long long a, long long b, long long c, long long d) {
    long long result = 0;
    register long long r10 asm("r10") = d;
    asm volatile("syscall"
                 : "=a"(result)
                 : "a"(number), "D"(a), "S"(b), "d"(c), "r"(r10)
                 : "rcx", "r11", "memory");
    return result;
}

long long Address(const void* p) {
    return reinterpret_cast<long long>(p);
}

constexpr long long kRtSigaction = 13, kPrlimit64 = 302, kSigxfsz = 25, kRlimitFsize = 1;

} // namespace

FileSizeLimit::FileSizeLimit(unsigned long long bytes) {
    const unsigned long long ignore[4] = {1 /* SIG_IGN */, 0, 0, 0};
    m_active = UnderWine() && LinuxCall(kPrlimit64, 0, kRlimitFsize, 0, Address(m_old)) == 0 &&
               LinuxCall(kRtSigaction, kSigxfsz, Address(ignore), Address(m_oldAction), 8) == 0;
    const unsigned long long lowered[2] = {bytes, m_old[1]};
    if (m_active && LinuxCall(kPrlimit64, 0, kRlimitFsize, Address(lowered), 0) != 0) {
        LinuxCall(kRtSigaction, kSigxfsz, Address(m_oldAction), 0, 8);
        m_active = false;
    }
}

FileSizeLimit::~FileSizeLimit() {
    if (m_active) {
        LinuxCall(kPrlimit64, 0, kRlimitFsize, Address(m_old), 0);
        LinuxCall(kRtSigaction, kSigxfsz, Address(m_oldAction), 0, 8);
    }
}

bool InstallHelper(const std::string& helper, const std::string& to) {
    return CopyFileW(Wide(HelpersDir() + helper + ".exe").c_str(), Wide(to).c_str(), FALSE) != 0;
}

bool WaitSignalled(HANDLE handle, DWORD timeoutMs) {
    return WaitForSingleObject(handle, timeoutMs) == WAIT_OBJECT_0;
}

bool ProcessRunning(DWORD pid) {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) {
        return false;
    }
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

HANDLE StartUnrelated(const std::string& commandLine, DWORD& pid) {
    std::wstring line = Wide(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        pid = 0;
        return nullptr;
    }
    CloseHandle(info.hThread);
    pid = info.dwProcessId;
    return info.hProcess;
}

} // namespace corvane::wintest
