// Speed of the grid control against same-run baselines: cell writes and check-box reads through the
// control's TextMatrix against the same work straight on its inner grid surface, and row-by-row growth
// with maintained strings against a plain std::vector growing by the same rows.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "grid/frame/vantrel.h"
#include "platform/flexgrid/flexgrid.h"
#include "platform/headless/headless_children.h"
#include "platform/runtime/registry.h"

namespace {

constexpr int kCols = 10;

// A container whose property-change notification only marks the form changed, as a running program's
// does; everything else is the headless host's. (The headless host records every notification for
// tests, which would weigh more here than the control itself.)
class MarkingSite : public ax::Site {
  public:
    explicit MarkingSite(std::shared_ptr<ax::Site> s) : s_(std::move(s)) {}
    bool UserMode() const override { return true; }
    ax::FontPtr AmbientFont() const override { return s_->AmbientFont(); }
    const ax::Locale& AmbientLocale() const override { return s_->AmbientLocale(); }
    ax::ScaleMode ContainerScaleMode() const override { return s_->ContainerScaleMode(); }
    void PropertyChanged(std::string_view) override { ++changes; }
    int MsgBox(std::string_view p, int b, std::string_view t) override { return s_->MsgBox(p, b, t); }
    void SetHelpFile(const std::string& path) override { s_->SetHelpFile(path); }
    ax::ControlSurface& Surface() override { return s_->Surface(); }
    ax::ChildPtr CreateChild(ax::ChildKind k, std::string n) override {
        return s_->CreateChild(k, std::move(n));
    }
    ax::ComponentChild CreateComponentChild(std::string_view id, std::string n) override {
        return s_->CreateComponentChild(id, std::move(n));
    }
    size_t changes = 0;

  private:
    std::shared_ptr<ax::Site> s_;
};

// The headless host's place for the grid, taken by a stand-in control; the grid then gets the site.
struct PlaceHolder : ax::Control {};

// A grid placed on a headless host in a running program, its number editor made by the runtime.
struct PlacedGrid {
    std::unique_ptr<ax::HeadlessHost> host;
    std::shared_ptr<PlaceHolder> holder = std::make_shared<PlaceHolder>();
    std::shared_ptr<vantrel::Vantrel> grid = std::make_shared<vantrel::Vantrel>();

    PlacedGrid() {
        static const bool registered = (ax::useBuildRegistry(VN_LIB_DIR), true);
        (void)registered;
        host = ax::makeHeadlessHost();
        host->setUserMode(true);
        auto site = std::make_shared<MarkingSite>(host->place(holder, 9600, 7200));
        grid->SetSite(site);
        grid->InitProperties();
        grid->Resize();
        grid->Show();
    }
    ax::FlexGrid& inner() { return grid->innerGrid(); }

    // rows x kCols of scrollable cells (no fixed row or column), every column a text column.
    void shape(int rows) {
        grid->setFixedRows(0);
        grid->setFixedCols(0);
        grid->setCols(kCols);
        inner().setRows(rows);  // the Rows property stops below 32768 rows
        grid->setTextMaxLength(64);
    }
};

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
    p.shape(rows);
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
    p.shape(rows);
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
    p.shape(rows);
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
    p.shape(rows);
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
        p->shape(0);
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

BENCHMARK_MAIN();
