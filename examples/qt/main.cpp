// A window of its own with the grid and the spin control as Qt widgets in a layout, their events
// connected as signals. Run with --screenshot FILE to render it offscreen into a PNG and exit.
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/automation/errors.h"
#include "platform/qt/vantrel_widget.h"
#include "platform/qt/zel_widget.h"

int main(int argc, char** argv) {
    std::string screenshot;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--screenshot") screenshot = argv[i + 1];
    if (!screenshot.empty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QWidget window;
    window.setWindowTitle("Vantrel in a window");
    auto* layout = new QVBoxLayout(&window);
    auto* status = new QLabel("Type into a cell; letters become capitals.");
    vantrel::VantrelWidget* grid = nullptr;
    zel::ZelWidget* spin = nullptr;
    try {
        grid = new vantrel::VantrelWidget;
        spin = new zel::ZelWidget;
    } catch (const ax::AutomationError& e) {
        std::fprintf(stderr, "cannot create the controls: %d %s\n", e.number(), e.description().c_str());
        return 1;
    }
    layout->addWidget(status);
    layout->addWidget(grid, 1);  // the grid takes the room the window gives
    layout->addWidget(spin);

    vantrel::Vantrel& g = grid->grid();
    g.setCols(3);
    g.setRows(6);
    g.setFormatString("<Item|>Qty|Note");
    const int16_t widths[] = {1500, 900, 3000};  // twips
    for (int c = 0; c < 3; ++c) g.setColWidth(c, widths[c]);
    for (int r = 1; r < 6; ++r) {
        g.setTextMatrix(r, 0, "Item " + std::to_string(r));
        g.setTextMatrix(r, 1, std::to_string(r * 10));
    }
    // Events are signals with the grid's parameters; a reference written in the slot reaches the grid.
    QObject::connect(grid, &vantrel::VantrelWidget::KeyPress, [](int16_t& KeyAscii) {
        if (KeyAscii >= 'a' && KeyAscii <= 'z') KeyAscii = int16_t(KeyAscii - 'a' + 'A');
    });
    QObject::connect(grid, &vantrel::VantrelWidget::RowColChange,
                     [&] { status->setText(QString("Row %1, column %2").arg(g.Row()).arg(g.Col())); });
    spin->spin().setMax(50);
    spin->spin().setMin(0);
    QObject::connect(spin, &zel::ZelWidget::Change,
                     [&] { status->setText(QString("Spin value %1").arg(spin->spin().Value())); });
    spin->spin().setValue(20);

    window.resize(520, 320);
    window.show();
    if (screenshot.empty()) return app.exec();

    app.processEvents();
    // The grid follows the layout: its width in twips is the widget's width in pixels times twips per pixel.
    const float expected = grid->width() * grid->host().twipsPerPixelX();
    const float actual = grid->host().host().surface(g).Width();
    const bool ok = window.grab().save(QString::fromStdString(screenshot)) && std::abs(actual - expected) < 1;
    std::printf("grid %dx%d px, %.0f twips wide; spin value %d; screenshot %s\n", grid->width(),
                grid->height(), actual, spin->spin().Value(), ok ? "saved" : "FAILED");
    return ok ? 0 : 1;
}
