#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/runtime/events.h"
#include "platform/runtime/registry.h"
#include "tests/support/error_of.h"

namespace {

namespace fs = std::filesystem;
using ax::Variant;

using testsupport::errorOf;

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("ax-runtime-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        ax::setRegistryPath((dir_ / "registry").string());
    }
    void TearDown() override {
        ax::freeUnusedLibraries();
        fs::remove_all(dir_);
    }
    fs::path dir_;
};

const std::string kComponent = fs::weakly_canonical(AX_TEST_COMPONENT).string();

TEST_F(RegistryTest, FileRoundTripFindsByEitherNameIgnoringCase) {
    ax::Registry reg = ax::openRegistry();
    EXPECT_TRUE(reg.entries().empty());  // no file yet
    reg.add({"One.Thing", "{A}", "/lib/one.so", true});
    reg.add({"Two.Thing", "{B}", "/lib/two.so", false});
    reg.add({"One.Thing", "{C}", "/lib/one.so", true});  // re-registration replaces
    reg.save();

    ax::Registry again = ax::openRegistry();
    ASSERT_EQ(again.entries().size(), 2u);
    auto one = again.findProgId("ONE.thing");
    ASSERT_TRUE(one);
    EXPECT_EQ(one->clsid, "{C}");
    EXPECT_TRUE(one->isControl);
    EXPECT_EQ(again.findClsid("{b}")->progId, "Two.Thing");
    EXPECT_FALSE(again.findProgId("Three.Thing"));
    EXPECT_EQ(again.removeLibrary("/lib/one.so"), 1u);
    EXPECT_FALSE(again.findProgId("One.Thing"));
}

TEST_F(RegistryTest, RegisterCreateInvokeAndUnregisterARealLibrary) {
    EXPECT_EQ(errorOf([] { ax::CreateObject("AxTest.Counter"); }), ax::err::CannotCreateObject);

    ax::registerLibrary(kComponent);
    auto entry = ax::openRegistry().findProgId("AxTest.Counter");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->library, kComponent);  // the library recorded its own path
    EXPECT_FALSE(entry->isControl);

    auto counter = ax::CreateObject("axtest.COUNTER");
    ASSERT_TRUE(counter);
    // By name, with the table's default for the omitted step.
    EXPECT_EQ(ax::callMethod(*counter, "Increment").toLong(), 1);
    EXPECT_EQ(ax::callMethod(*counter, "increment", {Variant(int32_t(16))}).toLong(), 17);
    std::vector<Variant> args{Variant(int32_t(5)), Variant(), Variant()};
    EXPECT_TRUE(counter->Invoke("Split", ax::InvokeKind::Method, args).toBoolean());
    EXPECT_EQ(args[1].toLong(), 3);
    EXPECT_EQ(args[2].toLong(), 2);
    ax::letProperty(*counter, "Caption", Variant("Apples"));
    EXPECT_EQ(ax::getProperty(*counter, "caption").toString(), "Apples");
    EXPECT_EQ(errorOf([&] { ax::getProperty(*counter, "Missing"); }), ax::err::MemberNotFound);

    // By class identifier too; each creation is a new instance.
    auto byClsid = ax::CreateObject(entry->clsid);
    EXPECT_NE(byClsid, counter);
    EXPECT_EQ(ax::getProperty(*byClsid, "Value").toLong(), 0);

    ax::unregisterLibrary(kComponent);
    EXPECT_FALSE(ax::openRegistry().findProgId("AxTest.Counter"));
    EXPECT_EQ(errorOf([] { ax::CreateObject("AxTest.Counter"); }), ax::err::CannotCreateObject);
    // Objects already created keep working.
    EXPECT_EQ(ax::getProperty(*counter, "Value").toLong(), 17);
}

struct Sink : ax::EventSink {
    std::vector<std::string> heard;
    bool veto = false;
    void OnEvent(int32_t, std::string_view name, std::vector<Variant>& args) override {
        heard.push_back(std::string(name) + "(" + args[0].toString() + ")");
        if (name == "Changing") {
            if (args[0].toLong() < 0) args[0] = Variant(int32_t(0));  // clamp by writing back
            if (veto) args[1] = Variant(true);
        }
    }
};

TEST_F(RegistryTest, EventsReachALateBoundSinkByNameWithWriteBack) {
    ax::registerLibrary(kComponent);
    auto counter = ax::CreateObject("AxTest.Counter");
    auto sink = std::make_shared<Sink>();
    ASSERT_TRUE(ax::advise(*counter, sink));

    ax::letProperty(*counter, "Value", Variant(int32_t(-5)));
    EXPECT_EQ(ax::getProperty(*counter, "Value").toLong(), 0);
    EXPECT_EQ(sink->heard, (std::vector<std::string>{"Changing(-5)", "Changed(0)"}));

    sink->veto = true;
    ax::letProperty(*counter, "Value", Variant(int32_t(9)));
    EXPECT_EQ(ax::getProperty(*counter, "Value").toLong(), 0);
    EXPECT_EQ(sink->heard.size(), 3u);  // Changing only

    auto plain = std::make_shared<ax::Object>();
    EXPECT_FALSE(ax::advise(*plain, sink));
}

TEST_F(RegistryTest, LibraryStaysLoadedWhileAnyObjectLives) {
    ax::registerLibrary(kComponent);
    auto counter = ax::CreateObject("AxTest.Counter");
    auto loaded = ax::loadedLibraries();
    ASSERT_NE(std::find(loaded.begin(), loaded.end(), kComponent), loaded.end());

    // A copy obtained elsewhere keeps it alive too.
    std::shared_ptr<ax::Object> copy = counter;
    counter.reset();
    EXPECT_EQ(ax::freeUnusedLibraries(), 0u);
    EXPECT_EQ(ax::loadedLibraries().size(), 1u);

    copy.reset();
    EXPECT_EQ(ax::freeUnusedLibraries(), 1u);
    EXPECT_TRUE(ax::loadedLibraries().empty());

    // Loads again on demand.
    EXPECT_EQ(ax::callMethod(*ax::CreateObject("AxTest.Counter"), "Increment").toLong(), 1);
}

TEST_F(RegistryTest, RegisteringAFolderFindsOnlyComponentLibraries) {
    const auto folder = fs::path(kComponent).parent_path();
    const auto found = ax::registerLibrariesIn(folder.string());
    EXPECT_NE(std::find(found.begin(), found.end(), kComponent), found.end());
    const auto runtime = (folder / "libax_runtime.so").string();
    EXPECT_EQ(std::find(found.begin(), found.end(), runtime), found.end());  // links to them, is none
    const auto reg = ax::openRegistry();
    for (const auto& lib : found)
        EXPECT_TRUE(std::any_of(reg.entries().begin(), reg.entries().end(), [&](const ax::RegistryEntry& e) {
            return e.library == lib;
        })) << lib;
    EXPECT_TRUE(ax::registerLibrariesIn((dir_ / "no-such-folder").string()).empty());
}

TEST_F(RegistryTest, BuildRegistryIsPrivateToTheProcessAndHoldsTheBuildsComponents) {
    const auto folder = fs::path(kComponent).parent_path().string();
    const std::string path = ax::useBuildRegistry(folder);
    EXPECT_EQ(ax::registryPath(), path);
    EXPECT_NE(path.find(std::to_string(getpid())), std::string::npos);
    EXPECT_TRUE(ax::openRegistry().findProgId("AxTest.Counter"));
    EXPECT_EQ(ax::callMethod(*ax::CreateObject("AxTest.Counter"), "Increment").toLong(), 1);
}

TEST_F(RegistryTest, BrokenRegistrationsFailWithTheRightNumbers) {
    EXPECT_EQ(errorOf([&] { ax::registerLibrary((dir_ / "absent.so").string()); }), ax::err::FileNotFound);

    // A library that exists but is not a component.
    const std::string notComponent = (dir_ / "not-a-library.so").string();
    std::ofstream(notComponent) << "plain text";
    EXPECT_EQ(errorOf([&] { ax::registerLibrary(notComponent); }), ax::err::FileNotFound);

    // A registry line naming a library that has gone, or a class its library does not hold.
    ax::Registry reg = ax::openRegistry();
    reg.add({"Gone.Thing", "{0}", (dir_ / "gone.so").string(), false});
    reg.add({"Wrong.Class", "{NOT-IN-LIBRARY}", kComponent, false});
    reg.save();
    EXPECT_EQ(errorOf([] { ax::CreateObject("Gone.Thing"); }), ax::err::CannotCreateObject);
    EXPECT_EQ(errorOf([] { ax::CreateObject("Wrong.Class"); }), ax::err::CannotCreateObject);
    EXPECT_EQ(errorOf([] { ax::CreateObject(""); }), ax::err::CannotCreateObject);
}

TEST_F(RegistryTest, SystemRegistryComesAfterTheUsersAndKeepsItsLibrariesRelative) {
    // By default it lies beside this runtime library: what an installed package ships.
    const fs::path runtime = ax::moduleFileOf(reinterpret_cast<const void*>(&ax::CreateObject));
    EXPECT_EQ(fs::path(ax::systemRegistryPath()), runtime.parent_path() / "vantrel" / "registry");

    // A package unpacked somewhere: a copy of the component beside a registry that names it relatively.
    const fs::path package = dir_ / "package";
    fs::create_directories(package / "lib" / "vantrel");
    const fs::path copy = package / "lib" / "libcounter.so";
    fs::copy_file(kComponent, copy);
    const fs::path systemFile = package / "lib" / "vantrel" / "registry";
    ax::Registry system = ax::Registry::open(systemFile.string());
    system.add({"AxTest.Counter", "{6B1D53A0-4C1E-4E55-9A1B-2F0C7D8E9A01}", copy.string(), false});
    system.save(true);
    std::ifstream in(systemFile);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("\t../libcounter.so\n"), std::string::npos) << text;

    // Moved as a whole, it still names its own copy.
    const fs::path moved = dir_ / "moved";
    fs::rename(package, moved);
    ax::setSystemRegistryPath((moved / "lib" / "vantrel" / "registry").string());
    const auto searched = ax::searchedRegistries();
    ASSERT_EQ(searched.size(), 2u);
    EXPECT_EQ(searched[0].path(), ax::registryPath());
    ASSERT_EQ(searched[1].entries().size(), 1u);
    EXPECT_EQ(fs::path(searched[1].entries()[0].library),
              fs::weakly_canonical(moved / "lib" / "libcounter.so"));

    // An entry of the user's registry whose library is gone gives way to the system one...
    ax::Registry user = ax::openRegistry();
    user.add(
        {"AxTest.Counter", "{6B1D53A0-4C1E-4E55-9A1B-2F0C7D8E9A01}", (dir_ / "deleted.so").string(), false});
    user.save();
    auto counter = ax::CreateObject("AxTest.Counter");
    EXPECT_EQ(ax::callMethod(*counter, "Increment").toLong(), 1);
    auto loaded = ax::loadedLibraries();
    EXPECT_NE(std::find(loaded.begin(), loaded.end(), searched[1].entries()[0].library), loaded.end());

    // ...a working one comes first, and without either nothing is created.
    ax::registerLibrary(kComponent);
    EXPECT_EQ(ax::openRegistry().findProgId("AxTest.Counter")->library, kComponent);
    ax::CreateObject("AxTest.Counter");
    loaded = ax::loadedLibraries();
    EXPECT_NE(std::find(loaded.begin(), loaded.end(), kComponent), loaded.end());
    ax::unregisterLibrary(kComponent);
    ax::setSystemRegistryPath("");
    EXPECT_EQ(ax::searchedRegistries().size(), 1u);
    EXPECT_EQ(errorOf([] { ax::CreateObject("AxTest.Counter"); }), ax::err::CannotCreateObject);
}

}  // namespace
