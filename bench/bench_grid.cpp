// Speed of the grid control against same-run baselines: cell writes and check-box reads through the
// control's TextMatrix against the same work straight on its inner grid surface, and row-by-row growth
// with maintained strings against a plain std::vector growing by the same rows.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "bench/placed_grid.h"
#include "grid/frame/vantrel.h"
#include "platform/flexgrid/flexgrid.h"
#include "platform/headless/headless_children.h"
#include "platform/runtime/registry.h"

namespace {

constexpr int kCols = 10;

using benchgrid::PlacedGrid;

// rows x kCols of scrollable cells (no fixed row or column), every column a text column.
void shape(PlacedGrid& p, int rows) {
    p.grid->setFixedRows(0);
    p.grid->setFixedCols(0);
    p.grid->setCols(kCols);
    p.inner().setRows(rows);  // the Rows property stops below 32768 rows
    p.grid->setTextMaxLength(64);
}

const std::vector<std::string>& texts(int rows) {
    static std::vector<std::string> cache;
    if (cache.size() != size_t(rows) * kCols) {
        cache.clear();
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < kCols; ++c)
                cache.push_back("r" + std::to_string(r) + "c" + std::to_string(c));
    }
    return cache;
}

// --- writes into text columns ------------------------------------------------------------------------

void BM_SurfaceTextMatrixWrite(benchmark::State& state) {
    const int rows = int(state.range(0));
    const auto& t = texts(rows);
    PlacedGrid p;
    shape(p, rows);
    ax::FlexGrid& g = p.inner();
    for (auto _ : state) {
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < kCols; ++c) g.setTextMatrix(r, c, t[size_t(r) * kCols + c]);
    }
}

void BM_ControlTextMatrixWrite(benchmark::State& state) {
    const int rows = int(state.range(0));
    const auto& t = texts(rows);
    PlacedGrid p;
    shape(p, rows);
    vantrel::Vantrel& g = *p.grid;
    for (auto _ : state) {
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < kCols; ++c) g.setTextMatrix(r, c, t[size_t(r) * kCols + c]);
    }
}

// --- reads of a check-box column ---------------------------------------------------------------------

void BM_SurfaceTextMatrixRead(benchmark::State& state) {
    const int rows = int(state.range(0));
    PlacedGrid p;
    shape(p, rows);
    for (int r = 0; r < rows; ++r) p.inner().setTextMatrix(r, 0, r % 3 ? "" : "x");
    ax::FlexGrid& g = p.inner();
    for (auto _ : state) {
        size_t total = 0;
        for (int r = 0; r < rows; ++r) total += g.TextMatrix(r, 0).size();
        benchmark::DoNotOptimize(total);
    }
}

void BM_ControlCheckBoxRead(benchmark::State& state) {
    const int rows = int(state.range(0));
    PlacedGrid p;
    shape(p, rows);
    p.grid->setCol(0);
    p.grid->setColInputStyle(vantrel::CheckBox);
    for (int r = 0; r < rows; r += 3) p.grid->setTextMatrix(r, 0, "1");
    vantrel::Vantrel& g = *p.grid;
    for (auto _ : state) {
        size_t checked = 0;
        for (int r = 0; r < rows; ++r) checked += g.TextMatrix(r, 0)[0] == '1';
        benchmark::DoNotOptimize(checked);
    }
}

// --- growth by one row at a time --------------------------------------------------------------------

void BM_VectorRowGrowth(benchmark::State& state) {
    const int rows = int(state.range(0));
    for (auto _ : state) {
        std::vector<std::array<std::string, kCols>> v;
        for (int r = 0; r < rows; ++r) v.emplace_back();
        benchmark::DoNotOptimize(v.data());
    }
}

// AddItem appends one row: the Rows property cannot pass 32767 rows.
void BM_ControlRowGrowthMaintained(benchmark::State& state) {
    const int rows = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto p = std::make_unique<PlacedGrid>();
        shape(*p, 0);
        p->grid->setCol(1);
        p->grid->setColMaintainData(true);
        p->grid->setCol(2);
        p->grid->setColMaintainData(true);
        state.ResumeTiming();
        for (int r = 0; r < rows; ++r) p->grid->AddItem("");
        benchmark::DoNotOptimize(p->grid->Rows());
        state.PauseTiming();
        p.reset();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_SurfaceTextMatrixWrite)->Arg(400000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ControlTextMatrixWrite)->Arg(400000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SurfaceTextMatrixRead)->Arg(400000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ControlCheckBoxRead)->Arg(400000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_VectorRowGrowth)->Arg(100000)->Arg(400000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ControlRowGrowthMaintained)
    ->Arg(100000)
    ->Arg(400000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

#include "bench/warm_heap_main.h"
