// BeginTrans followed by RollBack on a grid of text cells, against a same-run baseline: copying every
// cell text out through the control's TextMatrix and writing it back the same way.
// compare: BM_BeginTransRollBack / BM_TextMatrixCopyOutAndBack at most 3x, and growing from 100,000 to
// 400,000 rows by no more than 1.1x the baseline's growth. The hit test on the last row grows with
// the rows it scans (about 4x from 100,000 to 400,000 rows).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "grid/frame/vantrel.h"
#include "platform/flexgrid/flexgrid.h"
#include "platform/headless/headless_children.h"
#include "platform/runtime/registry.h"

namespace {

constexpr int kCols = 10;

struct PlacedGrid {
    std::unique_ptr<ax::HeadlessHost> host;
    std::shared_ptr<vantrel::Vantrel> grid;
};

// One grid per size, shared by the benchmarks: neither changes what the grid holds.
vantrel::Vantrel& gridOf(int rows) {
    static std::map<int, PlacedGrid> grids;
    auto it = grids.find(rows);
    if (it != grids.end()) return *it->second.grid;
    static const bool registered = [] {
        const auto dir =
            std::filesystem::temp_directory_path() / ("vantrel-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        ax::setRegistryPath((dir / "registry").string());
        ax::registerLibrary(VN_ZEL_LIBRARY);
        return true;
    }();
    (void)registered;
    PlacedGrid placed{ax::makeHeadlessHost(), std::make_shared<vantrel::Vantrel>()};
    placed.host->setUserMode(true);
    placed.host->place(placed.grid, 9000, 6000);
    vantrel::Vantrel& g = *placed.grid;
    g.setCols(kCols);
    // The Rows property stops below 32768; a host reaches larger grids by adding rows, which the
    // inner grid's own count does at once.
    g.innerGrid().setRows(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < kCols; ++c)
            g.innerGrid().setTextMatrix(r, c, "r" + std::to_string(r) + "c" + std::to_string(c));
    return *grids.emplace(rows, std::move(placed)).first->second.grid;
}

void BM_TextMatrixCopyOutAndBack(benchmark::State& state) {
    vantrel::Vantrel& g = gridOf(int(state.range(0)));
    const int rows = g.Rows();
    std::vector<std::string> copy(size_t(rows) * kCols);
    for (auto _ : state) {
        size_t i = 0;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < kCols; ++c) copy[i++] = g.TextMatrix(r, c);
        i = 0;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < kCols; ++c) g.setTextMatrix(r, c, copy[i++]);
        benchmark::DoNotOptimize(copy.data());
    }
}

void BM_BeginTransRollBack(benchmark::State& state) {
    vantrel::Vantrel& g = gridOf(int(state.range(0)));
    for (auto _ : state) {
        g.BeginTrans();
        g.RollBack();
        benchmark::DoNotOptimize(g.Rows());
    }
}

// The hit test scans rows from the top until one matches: a point on the last row shown after
// scrolling to the end costs a scan of every row, so the time per call grows with the row count.
void BM_GetCellFromScreenCoordLastRow(benchmark::State& state) {
    vantrel::Vantrel& g = gridOf(int(state.range(0)));
    ax::FlexGrid& inner = g.innerGrid();
    const int32_t last = g.Rows() - 1;
    inner.setTopRow(last);
    float x = float(inner.ColPos(1) + inner.ColWidth(1) / 2);
    float y = float(inner.RowPos(last) + inner.RowHeight(last) / 2);
    for (auto _ : state) {
        int32_t col = -1, row = -1;
        for (int i = 0; i < 10; ++i) g.GetCellFromScreenCoord(col, row, x, y);
        if (row != last || col != 1) state.SkipWithError("the hit test missed the last row");
        benchmark::DoNotOptimize(row);
    }
    inner.setTopRow(inner.FixedRows());
}

void configure(benchmark::internal::Benchmark* b) {
    b->Arg(100000)
        ->Arg(400000)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

BENCHMARK(BM_TextMatrixCopyOutAndBack)->Apply(configure);
BENCHMARK(BM_BeginTransRollBack)->Apply(configure);
BENCHMARK(BM_GetCellFromScreenCoordLastRow)->Apply(configure);

}  // namespace

#include "bench/warm_heap_main.h"
