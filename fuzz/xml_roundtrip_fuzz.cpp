// An XML file loaded into the grid, written back, saved and loaded again. Whatever the bytes, nothing
// crashes; and a document the grid has saved loads again with the same cells under the same headings.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "grid/exchange/exchange.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/errors.h"
#include "platform/headless/headless_children.h"
#include "platform/runtime/registry.h"

namespace {

struct Fixture {
    std::filesystem::path folder;
    std::unique_ptr<ax::HeadlessHost> host;
    std::shared_ptr<vantrel::Vantrel> grid = std::make_shared<vantrel::Vantrel>();

    Fixture() {
        // The number editor comes from the build's libraries, found beside the grid's own.
        const char* libs = std::getenv("VN_LIB_DIR");
        ax::useBuildRegistry(libs ? std::string(libs)
                                  : std::filesystem::path(ax::moduleFileOf(reinterpret_cast<const void*>(
                                                              &vantrel::IsValidXMLName)))
                                        .parent_path()
                                        .string());
        folder = std::filesystem::temp_directory_path() / ("vn-xml-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        host = ax::makeHeadlessHost();
        host->setUserMode(true);
        host->place(grid, 4800, 2400);
    }
    ~Fixture() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// Each data cell as its row, its column's heading and its text: the columns may come back in
// another order (attributes are read before elements), the cells may not change.
std::vector<std::tuple<int32_t, std::string, std::string>> cellsOf(vantrel::Vantrel& g) {
    std::vector<std::tuple<int32_t, std::string, std::string>> out;
    for (int32_t r = 1; r < g.Rows(); ++r)
        for (int32_t c = 0; c < g.Cols(); ++c) out.emplace_back(r, g.TextMatrix(0, c), g.TextMatrix(r, c));
    std::sort(out.begin(), out.end());
    return out;
}

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "xml round trip: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fixture& f = fixture();
    vantrel::Vantrel& g = *f.grid;
    const std::string in = (f.folder / "in.xml").string(), out = (f.folder / "out.xml").string();
    std::ofstream(in, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::filesystem::remove(out);
    std::vector<std::tuple<int32_t, std::string, std::string>> before;
    try {
        g.setXMLFilePath(in);
        g.LoadXMLDoc();
        g.LoadXMLRoot(true);
        before = cellsOf(g);
        if (!g.UpdateXMLRoot()) return 0;
        g.setXMLFilePath(out);
        g.SaveXMLDoc();
    } catch (const ax::AutomationError&) {
        // Refusing a document, or a write-back or save of it, is an answer; only what was saved counts.
        return 0;
    }
    try {
        g.LoadXMLDoc();
        g.LoadXMLRoot(true);
    } catch (const ax::AutomationError&) {
        broken("a document the grid saved does not load again");
    }
    if (before.empty()) return 0;  // no data row: the reload sets the grid up afresh
    if (cellsOf(g) != before) broken("the cells changed on the way through the file");
    return 0;
}
