// The lab resolver, fresh and through a run's memory, stays in a share; settings write back alike.
#include "FuzzSupport.h"
#include "platform/posix/Lab.h"
#include "platform/posix/LabMemory.h"

#include <regex>

// Relative to the root: a server, one of its shares C$ to G$, then anything.
static void CheckInside(const lab::Network& network, const lab::Resolved& r) {
    static const std::regex inShare(R"((?!\.\.?(/|$))[^/]+/[C-Gc-g]\$(/[\s\S]*)?)");
    const std::filesystem::path relative =
        std::filesystem::path(r.path).lexically_normal().lexically_relative(network.Root());
    FUZZ_CHECK(r.ok() ? r.path.starts_with(network.Root()) &&
                            std::regex_match(relative.string(), inShare)
                      : r.error == kBadFileName || r.error == kPermissionDenied);
}

FUZZ_TARGET(text) {
    static const lab::Network network([] {
        for (const char* folder : {"SRV01/C$/Dir/Sub/", "SRV01/D$/", "SRV01/NotAShare/",
                                   "srv02/c$/ab/", "srv02/c$/AB/", "OFF/C$/", "DENY/C$/"}) {
            ScratchFile(std::string("network/") + folder, ""); // a folder only
        }
        ScratchFile("network/SRV01/C$/Dir/File.txt", "x");
        ScratchFile("network/OFF/.lab", "offline=yes\n");
        ScratchFile("network/DENY/.lab", "access=denied\n");
        return std::filesystem::path(ScratchFile("network/NOTASERVER", "a file")).parent_path();
    }());
    lab::RunMemory memory;
    CheckInside(network, network.Resolve(text));
    CheckInside(network, network.Resolve(text, memory, false));
    CheckInside(network, network.Resolve(text, memory, true));

    const lab::ServerSettings read = lab::ParseSettings(text);
    const lab::ServerSettings again = lab::ParseSettings(lab::FormatSettings(read));
    FUZZ_CHECK(again.offline == read.offline && again.denied == read.denied &&
               again.hang == read.hang && again.boot == read.boot);
}
