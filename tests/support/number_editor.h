// The grid's number editor is created by its identifier: tests register its library once per
// program, in a registry of the program's own under the temporary folder.
#pragma once
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/runtime/registry.h"

namespace testsupport {

// `folder` names the program's registry folder; only the first call of a program registers, and the
// folder goes when the program ends.
inline void registerNumberEditor(const std::string& folder, const std::string& library) {
    struct Registry {
        std::filesystem::path dir;
        ~Registry() {
            std::error_code ignored;
            std::filesystem::remove_all(dir, ignored);
        }
    };
    static const Registry registry{[&] {
        const auto dir = std::filesystem::temp_directory_path() / (folder + "-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        ax::setRegistryPath((dir / "registry").string());
        ax::registerLibrary(library);
        return dir;
    }()};
    (void)registry;
}

}  // namespace testsupport
