// Zel reached the way any host reaches it: registered, then created by "ZelCtrl.Zel" from a library
// this program never linked, and used only by name.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/automation/errors.h"
#include "platform/runtime/registry.h"
#include "tests/spin/zel_host.h"

namespace {

namespace fs = std::filesystem;
using ax::Variant;

TEST(ZelLibrary, RegisteredAndCreatedByNameFromAnUnlinkedLibrary) {
    const fs::path dir = fs::temp_directory_path() / ("zel-registry-" + std::to_string(getpid()));
    fs::create_directories(dir);
    ax::setRegistryPath((dir / "registry").string());
    const std::string library = fs::weakly_canonical(ZEL_LIBRARY).string();

    int before = 0;
    try {
        ax::CreateObject("ZelCtrl.Zel");
    } catch (const ax::AutomationError& e) {
        before = e.number();
    }
    EXPECT_EQ(before, ax::err::CannotCreateObject);

    ax::registerLibrary(library);
    auto entry = ax::openRegistry().findProgId("zelctrl.zel");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->library, library);
    EXPECT_TRUE(entry->isControl);
    {
        auto object = ax::CreateObject("ZelCtrl.Zel");
        auto control = std::dynamic_pointer_cast<ax::Control>(object);
        ASSERT_TRUE(control);
        ax::HeadlessHost host(std::make_shared<zeltest::StandardChildren>());
        host.setUserMode(true);
        host.place(control, 1000, 300);
        auto sink = std::make_shared<zeltest::NamedEvents>();
        ASSERT_TRUE(ax::advise(*object, sink));

        EXPECT_EQ(ax::getProperty(*object, "Max").toInteger(), 32767);
        ax::letProperty(*object, "Max", Variant(int16_t(10)));
        ax::letProperty(*object, "Min", Variant(int16_t(1)));
        EXPECT_EQ(ax::getProperty(*object, "Value").toInteger(), 1);

        host.setFocus(host.child(*control, "Txt").get());
        host.typeText("7");
        EXPECT_EQ(ax::getProperty(*object, "Value").toInteger(), 7);
        auto bar = std::dynamic_pointer_cast<ax::FlatScrollBar>(host.child(*control, "FltScrollBar"));
        ASSERT_TRUE(bar);
        bar->clickPart(ax::FlatScrollBar::Part::RightArrow);
        EXPECT_EQ(ax::getProperty(*object, "value").toInteger(), 8);
        EXPECT_EQ(sink->count("KeyPress(55)"), 1);
        EXPECT_GE(sink->count("Change"), 2);
        for (size_t i = 0; i < sink->heard.size(); ++i)
            EXPECT_EQ(sink->dispids[i], sink->heard[i] == "Change" ? 1 : 8);
    }
    ax::unregisterLibrary(library);
    EXPECT_FALSE(ax::openRegistry().findProgId("ZelCtrl.Zel"));
    ax::freeUnusedLibraries();
    fs::remove_all(dir);
}

}  // namespace
