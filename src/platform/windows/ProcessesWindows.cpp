// Processes on Windows: the command line goes to CreateProcessW exactly as given, and every
// command gets a job object of its own, so that ending it ends whatever it started as well.
#include "platform/NativeProcesses.h"
#include "platform/windows/WindowsText.h"

#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace corvane {
namespace {

using windows::SystemMessage;
using windows::ToWide;

// The status a command ended through End() reports, as the task manager's end does.
constexpr UINT kEndedStatus = 1;

class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : m_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    Handle(Handle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    Handle& operator=(Handle&& other) noexcept {
        std::swap(m_handle, other.m_handle);
        return *this;
    }
    ~Handle() {
        if (m_handle != nullptr) {
            CloseHandle(m_handle);
        }
    }
    HANDLE get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    HANDLE m_handle = nullptr;
};

class WindowsCommand final : public RunningCommand {
public:
    WindowsCommand(Handle process, Handle job)
        : m_process(std::move(process)), m_job(std::move(job)) {}

    // Closing the handles leaves the command running: the job has no kill-on-close limit, so a
    // scheduled command nobody waits for outlives the program.
    ~WindowsCommand() override = default;

    long long OpenWaitHandle() override {
        return m_collected ? -1
                           : static_cast<long long>(reinterpret_cast<intptr_t>(m_process.get()));
    }

    // The process handle is the command's own and lives as long as it does.
    void CloseWaitHandle() override {}

    bool Running() override {
        if (m_collected) {
            return false;
        }
        const DWORD state = WaitForSingleObject(m_process.get(), 0);
        if (state == WAIT_TIMEOUT) {
            return true;
        }
        DWORD code = 0;
        if (state == WAIT_OBJECT_0 && GetExitCodeProcess(m_process.get(), &code)) {
            m_status = static_cast<int>(code);
        }
        m_collected = true;
        return false;
    }

    std::optional<int> ExitStatus() const override { return m_status; }

    void End() override {
        if (m_collected) {
            return;
        }
        if (!m_job || !TerminateJobObject(m_job.get(), kEndedStatus)) {
            TerminateProcess(m_process.get(), kEndedStatus);
        }
    }

private:
    Handle m_process;
    Handle m_job; // null when the command could not be given a job of its own
    bool m_collected = false;
    std::optional<int> m_status;
};

// What a new process inherits: an empty standard input and this program's standard output and
// error, as inheritable copies made for this one launch. Nothing else, whatever other handles
// are inheritable at that moment (another thread's pipes, say).
class Inheritance {
public:
    Inheritance() {
        SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        m_input = Handle(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     &inheritable, OPEN_EXISTING, 0, nullptr));
        m_output = InheritableCopy(STD_OUTPUT_HANDLE);
        m_error = InheritableCopy(STD_ERROR_HANDLE);
        for (const Handle* handle : {&m_input, &m_output, &m_error}) {
            if (*handle) {
                m_list.push_back(handle->get());
            }
        }
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        m_attributeBuffer.resize(size);
        auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_attributeBuffer.data());
        if (!m_list.empty() && InitializeProcThreadAttributeList(attributes, 1, 0, &size)) {
            m_attributes = attributes;
            if (!UpdateProcThreadAttribute(m_attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                           m_list.data(), m_list.size() * sizeof(HANDLE), nullptr,
                                           nullptr)) {
                DeleteProcThreadAttributeList(m_attributes);
                m_attributes = nullptr;
            }
        }
    }
    ~Inheritance() {
        if (m_attributes != nullptr) {
            DeleteProcThreadAttributeList(m_attributes);
        }
    }
    Inheritance(const Inheritance&) = delete;
    Inheritance& operator=(const Inheritance&) = delete;

    // Without a list (which every supported Windows makes) whatever is inheritable goes along.
    DWORD Flags() const { return m_attributes != nullptr ? EXTENDED_STARTUPINFO_PRESENT : 0; }

    void FillIn(STARTUPINFOEXW& startup) const {
        startup.StartupInfo.cb =
            m_attributes != nullptr ? sizeof(STARTUPINFOEXW) : sizeof(STARTUPINFOW);
        startup.StartupInfo.dwFlags |= STARTF_USESTDHANDLES;
        startup.StartupInfo.hStdInput = m_input.get();
        startup.StartupInfo.hStdOutput = m_output.get();
        startup.StartupInfo.hStdError = m_error.get();
        startup.lpAttributeList = m_attributes;
    }

private:
    // A GUI program has no standard output: the command then has none either.
    static Handle InheritableCopy(DWORD which) {
        const HANDLE own = GetStdHandle(which);
        HANDLE copy = nullptr;
        if (own == nullptr || own == INVALID_HANDLE_VALUE ||
            !DuplicateHandle(GetCurrentProcess(), own, GetCurrentProcess(), &copy, 0, TRUE,
                             DUPLICATE_SAME_ACCESS)) {
            return {};
        }
        return Handle(copy);
    }

    Handle m_input;
    Handle m_output;
    Handle m_error;
    std::vector<HANDLE> m_list;
    std::vector<char> m_attributeBuffer;
    LPPROC_THREAD_ATTRIBUTE_LIST m_attributes = nullptr;
};

struct Started {
    Handle process;
    Handle thread;
    DWORD error = 0;
};

class WindowsProcesses final : public Processes {
public:
    explicit WindowsProcesses(const std::string& appDir) {
        if (!ToWide(appDir, m_appDir)) {
            m_appDir.clear(); // the program's own folder, which a UTF-8 caller never gets
        }
        for (wchar_t& c : m_appDir) {
            if (c == L'/') {
                c = L'\\';
            }
        }
    }

    LaunchResult Launch(const std::string& commandLine) override {
        std::wstring line;
        if (!ToWide(commandLine, line)) {
            return {nullptr, "Cannot run " + commandLine + ": not a line of UTF-8 text."};
        }
        const Inheritance inheritance;
        // Suspended until it is in its job, so that nothing it starts escapes the job.
        Started started = Start(line, inheritance, 0);
        if (!started.process) {
            return {nullptr,
                    "Cannot run " + commandLine + ": " + SystemMessage(started.error) + "."};
        }
        Handle job(CreateJobObjectW(nullptr, nullptr));
        if (job && !AssignProcessToJobObject(job.get(), started.process.get())) {
            // This program runs in a job that allows no job inside it (before Windows 8, or one
            // with limits on the user interface): leave that job when it lets us, else go
            // without one, and End() then ends the command alone.
            Started outside = Start(line, inheritance, CREATE_BREAKAWAY_FROM_JOB);
            if (outside.process && AssignProcessToJobObject(job.get(), outside.process.get())) {
                TerminateProcess(started.process.get(), kEndedStatus);
                started = std::move(outside);
            } else {
                if (outside.process) {
                    TerminateProcess(outside.process.get(), kEndedStatus);
                }
                job = Handle();
            }
        }
        ResumeThread(started.thread.get());
        return {std::make_unique<WindowsCommand>(std::move(started.process), std::move(job)), {}};
    }

private:
    Started Start(std::wstring line, const Inheritance& inheritance, DWORD extraFlags) const {
        STARTUPINFOEXW startup{};
        startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
        startup.StartupInfo.wShowWindow = SW_SHOWMINIMIZED;
        inheritance.FillIn(startup);
        PROCESS_INFORMATION info{};
        const DWORD flags = CREATE_SUSPENDED | inheritance.Flags() | extraFlags;
        Started started;
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, flags, nullptr,
                            m_appDir.empty() ? nullptr : m_appDir.c_str(), &startup.StartupInfo,
                            &info)) {
            started.error = GetLastError();
            return started;
        }
        started.process = Handle(info.hProcess);
        started.thread = Handle(info.hThread);
        return started;
    }

    std::wstring m_appDir;
};

} // namespace

std::unique_ptr<Processes> MakeNativeProcesses(std::string appDir, std::string /*networkRoot*/) {
    return std::make_unique<WindowsProcesses>(appDir);
}

} // namespace corvane
