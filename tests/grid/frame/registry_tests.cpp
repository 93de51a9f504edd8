// A host that knows the grid only by its identifier: the runtime finds and loads the library, and the
// grid in turn has the runtime make its number editor.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "platform/headless/headless_children.h"
#include "platform/host/control.h"
#include "platform/runtime/registry.h"

namespace {

bool isLoaded(const std::string& library) {
    const auto loaded = ax::loadedLibraries();
    const auto same = [&](const std::string& p) {
        return std::filesystem::equivalent(std::filesystem::path(p), std::filesystem::path(library));
    };
    return std::any_of(loaded.begin(), loaded.end(), same);
}

TEST(GridRegistry, CreatedByIdentifierItMakesItsNumberEditorThroughTheRuntime) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("vantrel-registry-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    ax::setRegistryPath((dir / "registry").string());
    ax::registerLibrary(VN_VANTREL_LIBRARY);
    ax::registerLibrary(VN_ZEL_LIBRARY);

    const auto entry = ax::openRegistry().findProgId("vantrel.vantrel");
    ASSERT_TRUE(entry);
    EXPECT_TRUE(entry->isControl);

    EXPECT_FALSE(isLoaded(VN_ZEL_LIBRARY));
    auto control = std::dynamic_pointer_cast<ax::Control>(ax::CreateObject("Vantrel.Vantrel"));
    ASSERT_TRUE(control);
    auto host = ax::makeHeadlessHost();
    host->setUserMode(true);
    host->place(control, 4800, 2400);

    // The grid answers by name, and its number editor came from the library the runtime loaded.
    std::vector<ax::Variant> none;
    EXPECT_EQ(control->Invoke("Cols", ax::InvokeKind::PropertyGet, none).toLong(), 2);
    ASSERT_TRUE(host->child(*control, "ZelPick"));
    EXPECT_TRUE(isLoaded(VN_ZEL_LIBRARY));
    EXPECT_TRUE(isLoaded(VN_VANTREL_LIBRARY));

    host.reset();
    control.reset();
    ax::unregisterLibrary(VN_VANTREL_LIBRARY);
    ax::unregisterLibrary(VN_ZEL_LIBRARY);
    EXPECT_FALSE(ax::openRegistry().findProgId("Vantrel.Vantrel"));
    std::filesystem::remove_all(dir);
}

}  // namespace
