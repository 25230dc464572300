// The platform services the main window is built with; main picks the real ones, tests their own.
#pragma once

#include <functional>

namespace corvane {

class Clock;
class Dialogs;
class FileSystem;
class Processes;
class Windowing;

// Ends the process at once with the given status. Tests replace it with a recorder.
using EndProcessHook = std::function<void(int)>;

// Ends the process without unwinding: nothing of an abandoned operation runs after it.
void EndProcessNow(int status);

struct Services {
    Dialogs& dialogs;
    FileSystem& files;
    Processes* processes; // may be null where no command is ever started
    Windowing& windowing;
    const Clock& clock;
    EndProcessHook endProcess = EndProcessNow;
};

} // namespace corvane
