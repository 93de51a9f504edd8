// Paint time of the grid widget: one screenful of a 400,000-row grid painted offscreen after a scroll,
// as the Qt host paints it on screen. Reports the median of eleven repetitions of twenty paints; the
// grid is filled once, before any timing.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <memory>
#include <string>

#include "platform/host/control.h"
#include "platform/qt/qt_grid_widget.h"
#include "platform/qt/qt_host.h"

namespace {

constexpr int kRows = 400000, kCols = 10;

class Holder : public ax::Control {
  public:
    ax::Site* site() const { return site_.get(); }
};

struct Scene {
    ax::QtHost host;
    std::shared_ptr<Holder> holder = std::make_shared<Holder>();
    std::shared_ptr<ax::QtFlexGrid> grid;

    Scene() {
        host.setShowMessageBoxes(false);
        host.place(holder, 15000, 9000);
        grid = std::dynamic_pointer_cast<ax::QtFlexGrid>(
            holder->site()->CreateChild(ax::ChildKind::FlexGrid, "g"));
        grid->setRows(kRows);
        grid->setCols(kCols);
        grid->setFixedRows(1);
        grid->setFixedCols(1);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                grid->setTextMatrix(r, c, "r" + std::to_string(r) + "c" + std::to_string(c));
        grid->setWidth(15000);
        grid->setHeight(9000);
        grid->setVisible(true);
        host.form()->resize(1000, 600);
        host.syncViews();
    }
};

Scene& scene() {
    static Scene s;
    return s;
}

// Scrolls to a new place each time and paints what is in view (about 40 rows by 10 columns).
void BM_PaintScreenful(benchmark::State& state) {
    Scene& s = scene();
    QImage target(s.grid->canvas()->size(), QImage::Format_ARGB32_Premultiplied);
    int32_t top = 1;
    for (auto _ : state) {
        top = (top + 9973) % (kRows - 100) + 1;
        s.grid->setTopRow(top);
        QPainter p(&target);
        s.grid->canvas()->paintCells(p, target.width(), target.height());
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PaintScreenful)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(11)
    ->ReportAggregatesOnly(true)
    ->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    scene();  // built once, outside every timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
