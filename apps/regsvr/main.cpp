// vantrel-regsvr: registers and unregisters component libraries and lists what the registries hold,
// as the platform's registration tool does, with its slash flags and their dash spellings.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/automation/errors.h"
#include "platform/runtime/registry.h"

namespace {

const char* kUsage =
    "usage: vantrel-regsvr [/u] [/s] [--registry FILE] [--relative] LIBRARY...\n"
    "       vantrel-regsvr /l [--registry FILE]\n"
    "  LIBRARY         a component library: its DllRegisterServer records its classes\n"
    "  /u, -u          unregister: DllUnregisterServer removes the classes of LIBRARY\n"
    "  /s, -s          silent: only the exit status tells whether every library succeeded\n"
    "  /l, -l, --list  list the classes of the user's registry, then of the system registry\n"
    "  --registry FILE register in (or list) FILE instead of the user's registry\n"
    "  --relative      store the libraries relative to the registry's folder (a registry shipped\n"
    "                  beside its libraries)\n"
    "The user's registry is $AX_REGISTRY, else ~/.ax/registry.\n";

struct Options {
    bool unregister = false;
    bool silent = false;
    bool list = false;
    bool relative = false;
    std::string registry;
    std::vector<std::string> libraries;
};

bool is(const std::string& arg, const char* name) {
    return arg == std::string("/") + name || arg == std::string("-") + name;
}

// Parses the arguments; false with a message for anything it does not know.
bool parse(int argc, char** argv, Options& o, int& exitCode) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (is(arg, "u")) {
            o.unregister = true;
        } else if (is(arg, "s")) {
            o.silent = true;
        } else if (is(arg, "l") || arg == "--list") {
            o.list = true;
        } else if (arg == "--relative") {
            o.relative = true;
        } else if (arg == "--registry" && i + 1 < argc) {
            o.registry = argv[++i];
        } else if (is(arg, "h") || is(arg, "?") || arg == "--help") {
            std::fputs(kUsage, stdout);
            exitCode = 0;
            return false;
        } else if (!arg.empty() && (arg[0] == '-' || (arg[0] == '/' && arg.size() == 2))) {
            std::fprintf(stderr, "vantrel-regsvr: unknown option %s\n%s", arg.c_str(), kUsage);
            exitCode = 2;
            return false;
        } else {
            o.libraries.push_back(arg);
        }
    }
    if (o.libraries.empty() == !o.list) {
        std::fputs(kUsage, stderr);
        exitCode = 2;
        return false;
    }
    return true;
}

void list(const std::vector<ax::Registry>& registries) {
    const char* kinds[] = {"user", "system"};
    for (size_t i = 0; i < registries.size(); ++i) {
        const ax::Registry& reg = registries[i];
        std::printf("%s registry %s%s\n", kinds[i < 2 ? i : 1], reg.path().c_str(),
                    reg.entries().empty() ? " (empty)" : "");
        for (const auto& e : reg.entries())
            std::printf("  %-20s %s %-7s %s\n", e.progId.c_str(), e.clsid.c_str(),
                        e.isControl ? "control" : "object", e.library.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    int exitCode = 0;
    if (!parse(argc, argv, o, exitCode)) return exitCode;
    if (!o.registry.empty()) ax::setRegistryPath(o.registry);

    if (o.list) {
        list(ax::searchedRegistries());
        return 0;
    }
    const char* entry = o.unregister ? "DllUnregisterServer" : "DllRegisterServer";
    int failed = 0;
    for (const std::string& library : o.libraries) {
        try {
            o.unregister ? ax::unregisterLibrary(library) : ax::registerLibrary(library);
            if (!o.silent) std::printf("%s in %s succeeded.\n", entry, library.c_str());
        } catch (const ax::AutomationError& e) {
            ++failed;
            if (!o.silent)
                std::fprintf(stderr, "%s in %s failed: %s\n", entry, library.c_str(),
                             e.description().c_str());
        }
    }
    if (o.relative) {
        try {
            ax::openRegistry().save(true);
        } catch (const ax::AutomationError& e) {
            if (!o.silent) std::fprintf(stderr, "%s\n", e.description().c_str());
            return 1;
        }
    }
    return failed ? 1 : 0;
}
