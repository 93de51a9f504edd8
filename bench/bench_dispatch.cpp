// Late-bound calls against typed ones, in one run: reading and writing every cell (TextMatrix) of a
// 32,000 x 10 grid through the typed C++ members, through dispatch by a member id resolved once, and
// through dispatch by name with the lookup every call.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/placed_grid.h"
#include "grid/frame/vantrel.h"

namespace {

constexpr int kRows = 32000;
constexpr int kCols = 10;

using benchgrid::PlacedGrid;

const std::vector<std::string>& texts() {
    static const std::vector<std::string> all = [] {
        std::vector<std::string> t;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) t.push_back("r" + std::to_string(r) + "c" + std::to_string(c));
        return t;
    }();
    return all;
}

// A grid of plain text cells, filled when reads are measured.
struct Sheet {
    PlacedGrid p;
    explicit Sheet(bool filled) {
        p.grid->setFixedRows(0);
        p.grid->setFixedCols(0);
        p.grid->setCols(kCols);
        p.grid->setRows(kRows);
        if (filled)
            for (int r = 0; r < kRows; ++r)
                for (int c = 0; c < kCols; ++c) p.grid->setTextMatrix(r, c, texts()[size_t(r) * kCols + c]);
    }
    // The control as a late-bound host holds it.
    ax::Object& object() { return *p.grid; }
};

// --- reads ------------------------------------------------------------------------------------------

void BM_TypedRead(benchmark::State& state) {
    Sheet s(true);
    vantrel::Vantrel& g = *s.p.grid;
    for (auto _ : state) {
        size_t total = 0;
        for (int32_t r = 0; r < kRows; ++r)
            for (int32_t c = 0; c < kCols; ++c) total += g.TextMatrix(r, c).size();
        benchmark::DoNotOptimize(total);
    }
}

void BM_IdRead(benchmark::State& state) {
    Sheet s(true);
    ax::Object& o = s.object();
    const ax::DispId id = o.GetIdOfName("TextMatrix");
    std::vector<ax::Variant> args(2);  // reused from call to call, as a late-bound host does
    for (auto _ : state) {
        size_t total = 0;
        for (int32_t r = 0; r < kRows; ++r)
            for (int32_t c = 0; c < kCols; ++c) {
                args[0] = r;
                args[1] = c;
                total += o.InvokeById(id, ax::InvokeKind::PropertyGet, args).get<std::string>()->size();
            }
        benchmark::DoNotOptimize(total);
    }
}

void BM_NameRead(benchmark::State& state) {
    Sheet s(true);
    ax::Object& o = s.object();
    std::vector<ax::Variant> args(2);
    for (auto _ : state) {
        size_t total = 0;
        for (int32_t r = 0; r < kRows; ++r)
            for (int32_t c = 0; c < kCols; ++c) {
                args[0] = r;
                args[1] = c;
                total += o.Invoke("TextMatrix", ax::InvokeKind::PropertyGet, args).get<std::string>()->size();
            }
        benchmark::DoNotOptimize(total);
    }
}

// --- writes -----------------------------------------------------------------------------------------

void BM_TypedWrite(benchmark::State& state) {
    Sheet s(false);
    vantrel::Vantrel& g = *s.p.grid;
    const auto& t = texts();
    for (auto _ : state) {
        for (int32_t r = 0; r < kRows; ++r)
            for (int32_t c = 0; c < kCols; ++c) g.setTextMatrix(r, c, t[size_t(r) * kCols + c]);
    }
}

// The host copies its own text into the argument each call, as a script does; the argument list is
// reused, so a text argument keeps its buffer.
void BM_IdWrite(benchmark::State& state) {
    Sheet s(false);
    ax::Object& o = s.object();
    const ax::DispId id = o.GetIdOfName("TextMatrix");
    const auto& t = texts();
    std::vector<ax::Variant> args(3);
    for (auto _ : state) {
        for (int32_t r = 0; r < kRows; ++r)
            for (int32_t c = 0; c < kCols; ++c) {
                args[0] = r;
                args[1] = c;
                args[2] = t[size_t(r) * kCols + c];
                o.InvokeById(id, ax::InvokeKind::PropertyPut, args);
            }
    }
}

void BM_NameWrite(benchmark::State& state) {
    Sheet s(false);
    ax::Object& o = s.object();
    const auto& t = texts();
    std::vector<ax::Variant> args(3);
    for (auto _ : state) {
        for (int32_t r = 0; r < kRows; ++r)
            for (int32_t c = 0; c < kCols; ++c) {
                args[0] = r;
                args[1] = c;
                args[2] = t[size_t(r) * kCols + c];
                o.Invoke("TextMatrix", ax::InvokeKind::PropertyPut, args);
            }
    }
}

}  // namespace

BENCHMARK(BM_TypedRead)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_IdRead)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_NameRead)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_TypedWrite)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_IdWrite)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_NameWrite)->Unit(benchmark::kMillisecond)->Iterations(10);

#include "bench/warm_heap_main.h"
