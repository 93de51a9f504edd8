// The guide's Qt examples run offscreen and print exactly what the guide shows.
#include <gtest/gtest.h>

#include <sstream>

#include "docs/snippets/qt/qt_snippets.h"
#include "tests/docs/guide_blocks.h"

namespace {

TEST(GuideQt, EveryQtSnippetPrintsTheOutputTheGuideShows) {
    ax::useBuildRegistry();
    std::map<std::string, std::string> outputs;
    for (const guidetest::Block& b :
         guidetest::guideBlocks(std::filesystem::path(VN_SOURCE_DIR) / "docs/user-guide.md"))
        if (b.kind == "output") outputs[b.name] = b.body;
    for (const guide::Snippet& s : guide::qtSnippets()) {
        std::ostringstream out;
        out << std::boolalpha;
        try {
            s.run(out);
        } catch (const ax::AutomationError& e) {
            out << "[raised " << e.number() << ": " << e.description() << "]\n";
        }
        if (const char* keep = std::getenv("VN_GUIDE_OUTPUTS"))  // for whoever edits the guide
            std::ofstream(std::filesystem::path(keep) / (std::string(s.name) + ".txt")) << out.str();
        auto it = outputs.find(s.name);
        ASSERT_NE(it, outputs.end()) << "the guide shows no output of " << s.name << "; it prints:\n"
                                     << out.str();
        EXPECT_EQ(out.str(), it->second) << "snippet " << s.name;
    }
}

}  // namespace
