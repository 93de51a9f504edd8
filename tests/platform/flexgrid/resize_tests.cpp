// Resizing rows and columns with the mouse: where a border can be grabbed, what a drag does, the
// pointer shown, the least size, and a double click fitting a column to its texts.
#include "grid_fixture.h"

using namespace fgtest;
using Log = std::vector<std::string>;

namespace {
// The right border of column c and the bottom border of row r on the fixture's unscrolled grid.
float columnBorder(int32_t c) { return (c + 1) * 960.0f; }
float rowBorder(int32_t r) { return (r + 1) * 240.0f; }
constexpr int32_t kSizeWE = 9, kSizeNS = 7;
}  // namespace

TEST_F(Grid, ColumnBordersInTheFixedRowsDragOnlyWhenResizingIsAllowed) {
    rec.attach(g);
    // Not allowed: a press on the border is a press on the heading, which selects the column.
    g.mouseMove(0, 0, columnBorder(1) - 10, 120);
    EXPECT_EQ(g.pointerShown(), 0);
    g.mouseDown(1, 0, columnBorder(1) - 10, 120);
    g.mouseMove(1, 0, columnBorder(1) + 300, 120);
    g.mouseUp(1, 0, columnBorder(1) + 300, 120);
    EXPECT_EQ(g.ColWidth(1), 960);
    EXPECT_EQ(g.ColSel(), 2);  // the drag went on selecting headings

    g.setAllowUserResizing(ax::flex::ResizeColumns);
    g.setRow(3);
    g.setCol(2);
    rec.log.clear();
    // Over the border the size pointer shows, within a few pixels either side; over a cell it does not.
    g.mouseMove(0, 0, columnBorder(1) + 30, 120);
    EXPECT_EQ(g.pointerShown(), kSizeWE);
    g.mouseMove(0, 0, columnBorder(1) + 100, 120);
    EXPECT_EQ(g.pointerShown(), 0);
    g.mouseMove(0, 0, columnBorder(1), 600);  // below the fixed rows
    EXPECT_EQ(g.pointerShown(), 0);

    // The drag: MouseDown and MouseUp reach the host as for any press; the selection stays.
    g.mouseDown(1, 0, columnBorder(1) - 20, 120);
    EXPECT_EQ(g.pointerShown(), kSizeWE);
    g.mouseMove(1, 0, columnBorder(1) + 480, 120);
    EXPECT_EQ(g.ColWidth(1), 960 + 500);
    EXPECT_EQ(g.ColPos(2), 960 + 960 + 500);  // what follows moves along
    g.mouseMove(1, 0, 0, 120);                // far past the left edge: the least size, still grabbable
    EXPECT_EQ(g.ColWidth(1), ax::HeadlessFlexGrid::kMinDraggedSize);
    g.mouseUp(1, 0, columnBorder(1) - 200, 900);
    EXPECT_EQ(g.ColWidth(1), 780);
    EXPECT_EQ(g.Row(), 3);
    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(rec.log, (Log{"MouseDown@3,2", "MouseUp"}));

    // Row borders need rows allowed too.
    g.mouseDown(1, 0, 480, rowBorder(2));
    g.mouseMove(1, 0, 480, rowBorder(2) + 200);
    g.mouseUp(1, 0, 480, rowBorder(2) + 200);
    EXPECT_EQ(g.RowHeight(2), 240);
    EXPECT_EQ(g.Row(), 3);  // a press in the fixed column selected the row
}

TEST_F(Grid, RowBordersInTheFixedColumnsDragDownToTheLeastHeight) {
    g.setAllowUserResizing(ax::flex::ResizeBoth);
    g.setRowHeightMin(150);
    g.mouseMove(0, 0, 480, rowBorder(2) + 20);
    EXPECT_EQ(g.pointerShown(), kSizeNS);
    g.mouseDown(1, 0, 480, rowBorder(2) + 20);
    g.mouseMove(1, 0, 480, rowBorder(2) + 320);
    EXPECT_EQ(g.RowHeight(2), 540);
    EXPECT_EQ(g.RowPos(3), 240 + 240 + 540);
    g.mouseMove(1, 0, 480, 0);
    g.mouseUp(1, 0, 480, 0);
    EXPECT_EQ(g.RowHeight(2), 150);  // RowHeightMin is above the grabbable least
    EXPECT_EQ(g.pointerShown(), 0);

    // Scrolled: the borders in view are the ones grabbed.
    g.setTopRow(10);
    g.mouseDown(1, 0, 480, 240 + 240);  // the bottom of the first row shown, row 10
    g.mouseMove(1, 0, 480, 240 + 240 + 60);
    g.mouseUp(1, 0, 480, 240 + 240 + 60);
    EXPECT_EQ(g.RowHeight(10), 300);
    // A disabled grid takes no drag.
    g.setEnabled(false);
    g.mouseDown(1, 0, 480, 240 + 300);
    g.mouseMove(1, 0, 480, 240 + 900);
    EXPECT_EQ(g.RowHeight(10), 300);
}

TEST_F(Grid, ADoubleClickOnAColumnBorderFitsTheColumnToItsWidestText) {
    g.setAllowUserResizing(ax::flex::ResizeColumns);
    g.setTextMatrix(7, 2, "a much longer text than the others");
    int doubles = 0;
    g.onDblClick = [&] { ++doubles; };
    const float x = columnBorder(2) + 10;
    g.mouseDown(1, 0, x, 120);
    g.mouseUp(1, 0, x, 120);
    g.click();
    g.dblClick();
    EXPECT_EQ(doubles, 1);
    const int32_t fitted = g.ColWidth(2);
    EXPECT_EQ(fitted, g.fittingWidth(2));
    EXPECT_GT(fitted, 960);
    // A shorter widest text fits a narrower column; a picture beside the widest text adds its width.
    g.setTextMatrix(7, 2, "xx");
    EXPECT_LT(g.fittingWidth(2), fitted);
    const int32_t textOnly = g.fittingWidth(2);
    g.setRow(10);
    g.setCol(2);
    g.setCellPicture(std::make_shared<ax::Picture>(20, 10, std::vector<uint32_t>(200, 0xFF000000u)));
    EXPECT_EQ(g.fittingWidth(2), textOnly + 20 * 15);
    // A double click elsewhere fits nothing.
    g.mouseDown(1, 0, 480, 1200);
    g.dblClick();
    EXPECT_EQ(g.ColWidth(2), fitted);
}
