#include <QApplication>
#include <QTest>
#include <QVBoxLayout>
#include <ostream>

#include "docs/snippets/qt/qt_snippets.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/vantrel_widget.h"

namespace guide {

// [qt-widget]
void qtWidget(std::ostream& out) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* view = new vantrel::VantrelWidget;  // a Qt host with one grid; 429 if "ZelCtrl.Zel" is missing
    layout->addWidget(view);
    vantrel::Vantrel& grid = view->grid();  // the typed interface
    grid.setCols(3);
    grid.setRows(4);
    grid.setFormatString("Item|Qty|Note");

    // Events are signals with the grid's parameters; what a slot writes into a reference reaches the
    // grid, because a connection in the widget's own thread is direct.
    QObject::connect(view, &vantrel::VantrelWidget::KeyPress, [](int16_t& KeyAscii) {
        if (KeyAscii >= 'a' && KeyAscii <= 'z') KeyAscii = int16_t(KeyAscii - 'a' + 'A');
    });
    QObject::connect(view, &vantrel::VantrelWidget::RowColChange,
                     [&] { out << "RowColChange to " << grid.Row() << "," << grid.Col() << "\n"; });
    int resizes = 0;
    QObject::connect(view, &vantrel::VantrelWidget::Resize, [&] { ++resizes; });

    window.resize(500, 300);
    window.show();
    QApplication::processEvents();
    // The grid follows its widget: its size in twips is the widget's in pixels.
    const ax::ControlSurface& surface = view->host().host().surface(grid);
    out << "grid " << surface.Width() / view->host().twipsPerPixelX() << " x "
        << surface.Height() / view->host().twipsPerPixelY() << " px, widget " << view->width() << " x "
        << view->height() << ", resized " << (resizes > 0) << "\n";

    // The user (here Qt's test library) goes to the note of row 2, opens its editor with Enter, types
    // and keeps the text with Enter.
    view->setFocus();  // the widget hands the keyboard to the grid
    grid.setRow(2);
    grid.setCol(2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), "ok");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    out << "cell (2, 2): " << grid.TextMatrix(2, 2) << "\n";

    // Any member by name, as a late-bound host calls it.
    std::vector<ax::Variant> args{ax::Variant(int32_t(6))};
    view->invoke("Rows", ax::InvokeKind::PropertyPut, args);
    out << "Rows by name: " << view->invoke("Rows").toLong() << "\n";
}
// [qt-widget]

}  // namespace guide
