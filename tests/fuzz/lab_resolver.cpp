// The lab resolver over any UNC text, fresh and through a run's memory: a path it gives never
// leaves the network root, even read lexically, and always lands in a share C$ to G$ of a server.
// The same bytes read as a server's settings file write back as the same settings.
#include "FuzzSupport.h"
#include "platform/posix/Lab.h"
#include "platform/posix/LabMemory.h"

#include <cstdint>
#include <filesystem>

using namespace corvane;
namespace fs = std::filesystem;

namespace {

const std::string& Root() {
    static const std::string root = [] {
        const fs::path r = fs::path(fuzz::Scratch()) / "network";
        fs::create_directories(r / "SRV01/C$/Dir/Sub");
        fs::create_directories(r / "SRV01/D$");
        fs::create_directories(r / "SRV01/NotAShare");
        fs::create_directories(r / "srv02/c$/ab");
        fs::create_directories(r / "srv02/c$/AB");
        fs::create_directories(r / "OFF/C$");
        fs::create_directories(r / "DENY/C$");
        fuzz::WriteBytes((r / "SRV01/C$/Dir/File.txt").string(), "x");
        fuzz::WriteBytes((r / "OFF/.lab").string(), "offline=yes\n");
        fuzz::WriteBytes((r / "DENY/.lab").string(), "access=denied\n");
        fuzz::WriteBytes((r / "NOTASERVER").string(), "a file");
        return r.string();
    }();
    return root;
}

void CheckInside(const lab::Network& network, const lab::Resolved& r) {
    if (!r.ok()) {
        FUZZ_CHECK(r.error == kBadFileName || r.error == kPermissionDenied);
        return;
    }
    const std::string& root = network.Root();
    FUZZ_CHECK(r.path.compare(0, root.size(), root) == 0);
    const fs::path relative = fs::path(r.path).lexically_normal().lexically_relative(root);
    FUZZ_CHECK(!relative.empty());
    auto part = relative.begin();
    FUZZ_CHECK(*part != ".." && *part != ".");
    FUZZ_CHECK(++part != relative.end());
    const std::string share = part->string();
    FUZZ_CHECK(share.size() == 2 && share[1] == '$' &&
               std::string_view("CDEFGcdefg").find(share[0]) != std::string_view::npos);
    for (; part != relative.end(); ++part) {
        FUZZ_CHECK(*part != "..");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const lab::Network network(Root());
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    CheckInside(network, network.Resolve(text));
    lab::RunMemory memory;
    CheckInside(network, network.Resolve(text, memory, false));
    CheckInside(network, network.Resolve(text, memory, true));

    const lab::ServerSettings settings = lab::ParseSettings(text);
    const lab::ServerSettings again = lab::ParseSettings(lab::FormatSettings(settings));
    FUZZ_CHECK(again.offline == settings.offline && again.denied == settings.denied &&
               again.hang == settings.hang && again.boot == settings.boot);
    return 0;
}
