// The inner grid on screen: painted cells, clicks and keys reaching the model as in the headless
// host, scrolling by bar and wheel, and Redraw holding the picture.
#include <QAccessible>
#include <QGuiApplication>
#include <QPalette>
#include <QScrollBar>
#include <QWheelEvent>

#include "platform/flexgrid/headless_flexgrid.h"
#include "platform/headless/headless_children.h"
#include "platform/qt/qt_grid_widget.h"
#include "qt_test_fixture.h"

using namespace ax;
using axtest::Probe;

namespace {

void logGrid(FlexGrid& g, std::vector<std::string>& log) {
    g.onClick = [&log] { log.push_back("Click"); };
    g.onDblClick = [&log] { log.push_back("DblClick"); };
    g.onKeyDown = [&log](int16_t& k, int16_t&) { log.push_back("KeyDown:" + std::to_string(k)); };
    g.onKeyPress = [&log](int16_t& k) { log.push_back("KeyPress:" + std::to_string(k)); };
    g.onKeyUp = [&log](int16_t& k, int16_t&) { log.push_back("KeyUp:" + std::to_string(k)); };
    g.onMouseDown = [&log](int16_t& b, int16_t&, float&, float&) {
        log.push_back("MouseDown:" + std::to_string(b));
    };
    g.onMouseUp = [&log](int16_t& b, int16_t&, float&, float&) {
        log.push_back("MouseUp:" + std::to_string(b));
    };
    g.onSelChange = [&log] { log.push_back("SelChange"); };
    g.onRowColChange = [&log, &g] {
        log.push_back("RowColChange:" + std::to_string(g.Row()) + "," + std::to_string(g.Col()));
    };
    g.onEnterCell = [&log] { log.push_back("EnterCell"); };
    g.onLeaveCell = [&log] { log.push_back("LeaveCell"); };
    g.onScroll = [&log, &g] { log.push_back("Scroll:" + std::to_string(g.TopRow())); };
}

void shape(FlexGrid& g, int32_t rows) {
    g.setRows(rows);
    g.setCols(5);
    g.setFixedRows(1);
    g.setFixedCols(1);
    for (int32_t c = 0; c < 5; ++c) g.setColWidth(c, 1200);
    for (int32_t r = 0; r < std::min(rows, 50); ++r)
        for (int32_t c = 0; c < 5; ++c) g.setTextMatrix(r, c, std::to_string(r) + ":" + std::to_string(c));
    g.setWidth(6000);
    g.setHeight(3000);
    g.setVisible(true);
}

struct GridPair {
    QtHost qt;
    std::unique_ptr<HeadlessHost> headless = makeHeadlessHost();
    std::shared_ptr<Probe> qp = std::make_shared<Probe>(), hp = std::make_shared<Probe>();
    std::shared_ptr<QtFlexGrid> q;
    std::shared_ptr<FlexGrid> h;

    explicit GridPair(int32_t rows = 40) {
        qt.place(qp, 7000, 4000);
        headless->place(hp, 7000, 4000);
        qt.form()->resize(600, 400);
        qt.form()->show();
        q = std::dynamic_pointer_cast<QtFlexGrid>(qp->site()->CreateChild(ChildKind::FlexGrid, "grid"));
        h = std::dynamic_pointer_cast<FlexGrid>(hp->site()->CreateChild(ChildKind::FlexGrid, "grid"));
        shape(*q, rows);
        shape(*h, rows);
        logGrid(*q, qp->log);
        logGrid(*h, hp->log);
        qt.syncViews();
    }
    // The pixel centre of a cell of the Qt grid, and the same point in twips.
    QPoint centre(int32_t row, int32_t col) const {
        return QPoint(int((q->ColPos(col) + q->ColWidth(col) / 2) / q->twipsPerPixelX()),
                      int((q->RowPos(row) + q->RowHeight(row) / 2) / q->twipsPerPixelY()));
    }
    QImage shot() { return q->canvas()->grab().toImage(); }
};

}  // namespace

TEST(QtGrid, ClicksAndKeysReachTheModelAsInTheHeadlessHost) {
    GridPair p;
    ASSERT_NE(p.q, nullptr);
    ASSERT_NE(p.q->canvas(), nullptr);
    const QPoint at = p.centre(3, 2);
    QTest::mouseClick(p.q->canvas(), Qt::LeftButton, {}, at);
    p.headless->click(p.h, at.x() * p.q->twipsPerPixelX(), at.y() * p.q->twipsPerPixelY());
    EXPECT_EQ(p.q->Row(), 3);
    EXPECT_EQ(p.q->Col(), 2);
    EXPECT_EQ(p.qt.host().focused(), p.q.get());

    QTest::keyClick(p.q->canvas(), Qt::Key_Down);
    QTest::keyClick(p.q->canvas(), Qt::Key_Right);
    QTest::keyClicks(p.q->canvas(), "z");
    p.headless->typeKey(key::Down);
    p.headless->typeKey(key::Right);
    p.headless->typeText("z");
    EXPECT_EQ(p.q->Row(), 4);
    EXPECT_EQ(p.q->Col(), 3);
    EXPECT_EQ(p.qp->log, p.hp->log);
    for (const char* e : {"MouseDown:1", "Click", "RowColChange:3,2", "RowColChange:4,3", "KeyPress:122"})
        EXPECT_NE(std::find(p.qp->log.begin(), p.qp->log.end(), e), p.qp->log.end()) << e;
}

TEST(QtGrid, PaintsFixedCellsColoursSelectionAndTexts) {
    GridPair p;
    p.q->setRow(2);
    p.q->setCol(2);
    p.q->setCellBackColor(rgb(255, 0, 0));
    p.q->setRow(5);
    p.q->setCol(1);
    p.q->setRowSel(6);
    p.q->setColSel(3);
    p.qt.syncViews();
    const QImage img = p.shot();
    // A point near the cell's top right corner, clear of its left-aligned text.
    auto colourNear = [&](const QImage& shotOf, int32_t row, int32_t col) {
        const int x = int((p.q->ColPos(col) + p.q->ColWidth(col)) / p.q->twipsPerPixelX()) - 5;
        const int y = int(p.q->RowPos(row) / p.q->twipsPerPixelY()) + 3;
        return shotOf.pixelColor(x, y);
    };
    EXPECT_EQ(colourNear(img, 2, 2), QColor(255, 0, 0));
    EXPECT_EQ(colourNear(img, 0, 2), qtColour(p.q->BackColorFixed()));
    EXPECT_EQ(colourNear(img, 6, 3), qtColour(p.q->BackColorSel()));  // inside the selection
    EXPECT_EQ(colourNear(img, 8, 3), qtColour(p.q->BackColor()));
    // System colours are the style's: the headings follow the palette's button colour, a plain colour
    // stays what it says.
    const QPalette before = QGuiApplication::palette();
    QPalette tinted = before;
    tinted.setColor(QPalette::Button, QColor(10, 120, 200));
    QGuiApplication::setPalette(tinted);
    const QImage restyled = p.shot();
    QGuiApplication::setPalette(before);
    EXPECT_EQ(colourNear(restyled, 0, 2), QColor(10, 120, 200));
    EXPECT_EQ(colourNear(restyled, 2, 2), QColor(255, 0, 0));
    // Text is drawn: a cell with text has dark pixels, an emptied one has none.
    auto inkIn = [&](const QImage& im, int32_t row, int32_t col) {
        const QPoint c = p.centre(row, col);
        int ink = 0;
        for (int x = c.x() - 30; x < c.x() + 30; ++x)
            for (int y = c.y() - 5; y < c.y() + 5; ++y) ink += im.pixelColor(x, y).lightness() < 100;
        return ink;
    };
    EXPECT_GT(inkIn(img, 9, 2), 0);
    p.q->setTextMatrix(9, 2, "");
    p.qt.syncViews();
    EXPECT_EQ(inkIn(p.shot(), 9, 2), 0);

    // With Redraw off the screen keeps its picture until Redraw comes back.
    p.q->setRedraw(false);
    p.qt.syncViews();
    p.q->setTextMatrix(9, 2, "back again");
    p.qt.syncViews();
    EXPECT_EQ(inkIn(p.shot(), 9, 2), 0);
    p.q->setRedraw(true);
    p.qt.syncViews();
    EXPECT_GT(inkIn(p.shot(), 9, 2), 0);
}

TEST(QtGrid, GridLinesAreEquallyThickAtAFractionalScale) {
    GridPair p;
    // Rows of 17 pixels: every other border falls on half a device pixel.
    for (int32_t r = 0; r < p.q->Rows(); ++r) p.q->setRowHeight(r, 255);
    p.qt.syncViews();
    // The canvas drawn at 1.5 device pixels a pixel, as on a screen scaled by 150 %.
    const QSize size = p.q->canvas()->size();
    QImage img(size * 3 / 2, QImage::Format_RGB32);
    img.setDevicePixelRatio(1.5);
    p.q->canvas()->render(&img);
    const QColor line = qtColour(p.q->GridColor());
    // Down column 2, near its right edge (clear of the texts): the run length of every line crossed.
    const int x = int(((p.q->ColPos(2) + p.q->ColWidth(2)) / p.q->twipsPerPixelX() - 6) * 1.5);
    std::vector<int> runs;
    int run = 0;
    for (int y = int(p.q->RowPos(1) / p.q->twipsPerPixelY() * 1.5); y < img.height(); ++y) {
        if (img.pixelColor(x, y) == line) {
            ++run;
        } else if (run > 0) {
            runs.push_back(run);
            run = 0;
        }
    }
    ASSERT_GE(runs.size(), 6u);
    for (int r : runs) EXPECT_EQ(r, runs.front()) << ::testing::PrintToString(runs);
}

TEST(QtGrid, ScrollBarAndWheelScrollTheModelAndLargeGridsStayCheap) {
    GridPair p(400000);
    ASSERT_TRUE(p.q->verticalBar()->isVisible());
    EXPECT_EQ(p.q->verticalBar()->maximum(), p.q->lastTopRow());
    p.qp->log.clear();
    p.q->verticalBar()->setValue(200000);
    EXPECT_EQ(p.q->TopRow(), 200000);
    ASSERT_FALSE(p.qp->log.empty());
    EXPECT_EQ(p.qp->log.back(), "Scroll:200000");
    p.q->setTextMatrix(200001, 1, "deep");
    p.qt.syncViews();
    EXPECT_FALSE(p.shot().isNull());

    QWheelEvent down(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(p.q->canvas(), &down);
    EXPECT_EQ(p.q->TopRow(), 200003);
    EXPECT_EQ(p.q->verticalBar()->value(), 200003);
    // The last row can be scrolled to but not past.
    p.q->verticalBar()->setValue(p.q->verticalBar()->maximum());
    EXPECT_TRUE(p.q->RowIsVisible(399999));
    const int32_t bottom = p.q->TopRow();
    EXPECT_GT(bottom, 399900);
    QApplication::sendEvent(p.q->canvas(), &down);
    EXPECT_EQ(p.q->TopRow(), bottom);
    EXPECT_EQ(p.q->verticalBar()->value(), bottom);

    // A grid made tiny, or zero, keeps working.
    p.q->setWidth(0);
    p.q->setHeight(0);
    p.qt.syncViews();
    p.q->setWidth(3000);
    p.q->setHeight(2000);
    p.qt.syncViews();
    EXPECT_FALSE(p.shot().isNull());
}

TEST(QtGrid, ScreenReadersSeeATableOfTheCells) {
    GridPair p;
    p.q->setRow(3);
    p.q->setCol(2);
    p.q->setRowSel(4);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(p.q->canvas());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Table);
    QAccessibleTableInterface* t = a->tableInterface();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->rowCount(), 40);
    EXPECT_EQ(t->columnCount(), 5);
    EXPECT_EQ(t->columnDescription(2), "0:2");
    EXPECT_EQ(t->rowDescription(7), "7:0");
    QAccessibleInterface* cell = t->cellAt(7, 3);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), "7:3");
    EXPECT_EQ(t->cellAt(0, 3)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(cell->tableCellInterface()->columnHeaderCells().value(0)->text(QAccessible::Name), "0:3");
    // The current cell and the selection, and a text changed since.
    EXPECT_EQ(a->text(QAccessible::Value), "3:2");
    EXPECT_EQ(t->selectedCellCount(), 2);
    p.q->setTextMatrix(7, 3, "changed");
    EXPECT_EQ(t->cellAt(7, 3)->text(QAccessible::Name), "changed");
    EXPECT_EQ(t->cellAt(40, 0), nullptr);
}

TEST(QtGrid, HugeFontsThousandsOfColumnsAndBrokenPicturesLeaveTheGridWorking) {
    GridPair p;
    // A picture whose pixels do not match its size, as a file that failed half-way would give.
    p.q->setRow(2);
    p.q->setCol(2);
    p.q->setCellPicture(std::make_shared<Picture>(100000, 100000, std::vector<uint32_t>(4, 0xFF0000FFu)));
    p.q->setRow(3);
    p.q->setCol(3);
    p.q->setCellFontSize(2000.0f);
    p.q->setFont(std::make_shared<Font>("DejaVu Sans", 900.0f));
    p.qt.syncViews();
    EXPECT_FALSE(p.shot().isNull());

    p.q->setCols(3000);
    p.q->setTextMatrix(1, 2999, "far right");
    p.q->setLeftCol(2990);
    p.qt.syncViews();
    EXPECT_FALSE(p.shot().isNull());
    EXPECT_EQ(p.q->LeftCol(), 2990);

    // Nothing was lost, and a click still lands on the cell under the mouse.
    EXPECT_EQ(p.q->TextMatrix(1, 2999), "far right");
    EXPECT_EQ(p.q->TextMatrix(4, 2), "4:2");
    p.q->setFont(std::make_shared<Font>("DejaVu Sans", 8.25f));
    p.q->setLeftCol(1);
    p.qt.syncViews();
    QTest::mouseClick(p.q->canvas(), Qt::LeftButton, {}, p.centre(5, 2));
    EXPECT_EQ(p.q->Row(), 5);
    EXPECT_EQ(p.q->Col(), 2);
}
