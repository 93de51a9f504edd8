// The user guide is executed: every code block is exactly the snippet or example file it names, every
// snippet runs, and what it prints is exactly the output block the guide shows under it.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <set>
#include <sstream>

#include "docs/snippets/snippets.h"
#include "tests/docs/guide_blocks.h"

namespace {

namespace fs = std::filesystem;
const fs::path kSource = VN_SOURCE_DIR;

TEST(Guide, EveryCodeBlockIsTheSnippetOrFileItNamesAndEverySnippetIsShown) {
    const auto regions = guidetest::snippetRegions(kSource / "docs/snippets");
    std::set<std::string> shown;
    for (const guidetest::Block& b : guidetest::guideBlocks(kSource / "docs/user-guide.md")) {
        if (b.kind == "snippet") {
            auto it = regions.find(b.name);
            ASSERT_NE(it, regions.end()) << "line " << b.line << ": no snippet " << b.name;
            EXPECT_EQ(b.body, it->second) << "line " << b.line << ": snippet " << b.name << " differs";
            shown.insert(b.name);
        } else if (b.kind == "file") {
            ASSERT_TRUE(fs::exists(kSource / b.name)) << "line " << b.line << ": no file " << b.name;
            EXPECT_EQ(b.body, guidetest::readFile(kSource / b.name)) << "line " << b.line << ": " << b.name;
        }
    }
    for (const auto& [name, body] : regions) EXPECT_TRUE(shown.count(name)) << name << " is not in the guide";
}

// The snippets run in a folder of their own holding the sample files they read.
class GuideExamples : public ::testing::Test {
  protected:
    void SetUp() override {
        ax::useBuildRegistry();
        was_ = fs::current_path();
        dir_ = fs::temp_directory_path() / ("vantrel-guide-" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::copy_file(kSource / "apps/data/sample.xml", dir_ / "sample.xml");
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((dir_ / "parts.db").c_str(), &db), SQLITE_OK);
        const std::string script = guidetest::readFile(kSource / "apps/data/sample.sql");
        ASSERT_EQ(sqlite3_exec(db, script.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(was_);
        fs::remove_all(dir_);
    }
    fs::path was_, dir_;
};

TEST_F(GuideExamples, EverySnippetPrintsTheOutputTheGuideShows) {
    std::map<std::string, std::string> outputs;
    for (const guidetest::Block& b : guidetest::guideBlocks(kSource / "docs/user-guide.md"))
        if (b.kind == "output") outputs[b.name] = b.body;

    std::set<std::string> ran;
    for (const guide::Snippet& s : guide::headlessSnippets()) {
        std::ostringstream out;
        out << std::boolalpha;
        try {
            s.run(out);
        } catch (const ax::AutomationError& e) {
            out << "[raised " << e.number() << ": " << e.description() << "]\n";
        }
        if (const char* keep = std::getenv("VN_GUIDE_OUTPUTS"))  // for whoever edits the guide
            std::ofstream(fs::path(keep) / (std::string(s.name) + ".txt")) << out.str();
        auto it = outputs.find(s.name);
        ASSERT_NE(it, outputs.end()) << "the guide shows no output of " << s.name << "; it prints:\n"
                                     << out.str();
        EXPECT_EQ(out.str(), it->second) << "snippet " << s.name;
        ran.insert(s.name);
    }
    // Outputs of the Qt examples are checked by the Qt guide tests.
    for (const auto& [name, body] : outputs) {
        if (name.rfind("qt-", 0) != 0) {
            EXPECT_TRUE(ran.count(name)) << "no snippet prints " << name;
        }
    }
}

}  // namespace
