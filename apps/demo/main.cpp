// vantrel-demo: registers the component libraries this build produced in a registry of its own and
// shows what a host can create from them by name.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "apps/demo/tour.h"
#include "platform/automation/errors.h"
#include "platform/runtime/registry.h"

namespace fs = std::filesystem;

namespace {

// The build's library folder: $VN_LIB_DIR, else ../lib beside this program.
fs::path libraryFolder(const char* argv0) {
    if (const char* env = std::getenv("VN_LIB_DIR"); env && *env) return env;
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec) self = fs::absolute(argv0);
    return self.parent_path().parent_path() / "lib";
}

}  // namespace

int main(int argc, char** argv) {
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--quiet" || arg == "-q") {
            quiet = true;
        } else {
            std::printf(
                "usage: %s [--quiet]\n  --quiet  print only what goes wrong; the exit code says whether "
                "every step did what it says\n",
                argv[0]);
            return arg == "--help" || arg == "-h" ? 0 : 2;
        }
    }
    const fs::path libs = libraryFolder(argv[0]);
    const fs::path registry = libs.parent_path() / "demo-registry";
    ax::setRegistryPath(registry.string());

    if (!quiet) std::printf("Vantrel demo\n\nComponent libraries in %s:\n", libs.string().c_str());
    std::vector<std::string> skipped;
    auto found = ax::registerLibrariesIn(libs.string(), &skipped);
    std::erase_if(found, [](const std::string& p) { return p.find("_test_") != std::string::npos; });
    if (!quiet)
        for (const auto& lib : found) std::printf("  %s\n", fs::path(lib).filename().string().c_str());
    if (found.empty()) std::printf("  no component libraries found in %s\n", libs.string().c_str());
    for (const auto& why : skipped) std::printf("  not loadable: %s\n", why.c_str());

    if (!quiet)
        std::printf("\nRegistered in %s; creatable by programmatic identifier:\n", registry.string().c_str());
    int creatable = 0;
    const ax::Registry reg = ax::openRegistry();
    for (const auto& e : reg.entries()) {
        if (e.library.find("_test_") != std::string::npos) continue;
        try {
            auto object = ax::CreateObject(e.progId);
            if (!quiet)
                std::printf("  %-20s %s  %s\n", e.progId.c_str(), e.clsid.c_str(),
                            e.isControl ? "control" : "object");
            ++creatable;
        } catch (const ax::AutomationError& err) {
            std::printf("  %-20s cannot be created: %d %s\n", e.progId.c_str(), err.number(),
                        err.description().c_str());
        }
    }
    if (creatable == 0) std::printf("  nothing can be created by name\n");

    const int failed = demo::runTour(quiet);
    if (failed)
        std::printf("\n%d step(s) of the tour failed.\n", failed);
    else if (!quiet)
        std::printf("\nEvery step of the tour did what it says.\n");
    return failed || creatable == 0 ? 1 : 0;
}
