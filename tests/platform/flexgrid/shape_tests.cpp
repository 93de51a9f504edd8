// Shape, text, row data, cell formats and errors of the grid surface.
#include "grid_fixture.h"
#include "platform/flexgrid/flexgrid_errors.h"
#include "platform/host/headless_host.h"

using namespace fgtest;
namespace fe = ax::flexerr;

TEST(FlexGridDefaults, NewSurfaceAgreesWithTheSavedDefaults) {
    ax::HeadlessFlexGrid g;
    EXPECT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.Cols(), 2);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(g.FixedCols(), 1);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(g.TopRow(), 1);
    EXPECT_EQ(g.LeftCol(), 1);
    EXPECT_TRUE(g.AllowBigSelection());
    EXPECT_EQ(g.AllowUserResizing(), 0);
    EXPECT_EQ(g.Appearance(), 1);
    EXPECT_EQ(g.BackColor(), ax::systemColor(5));
    EXPECT_EQ(g.BackColorBkg(), ax::rgb(128, 128, 128));
    EXPECT_EQ(g.BackColorFixed(), ax::systemColor(15));
    EXPECT_EQ(g.BackColorSel(), ax::systemColor(13));
    EXPECT_EQ(g.BorderStyle(), 1);
    EXPECT_EQ(g.FocusRect(), 1);
    EXPECT_EQ(g.FontWidth(), 0);
    EXPECT_EQ(g.ForeColor(), ax::systemColor(8));
    EXPECT_EQ(g.ForeColorFixed(), ax::systemColor(18));
    EXPECT_EQ(g.ForeColorSel(), ax::systemColor(14));
    EXPECT_EQ(g.FormatString(), "");
    EXPECT_EQ(g.GridColor(), ax::rgb(192, 192, 192));
    EXPECT_EQ(g.GridColorFixed(), 0u);
    EXPECT_EQ(g.GridLines(), 1);
    EXPECT_EQ(g.GridLinesFixed(), 2);
    EXPECT_EQ(g.GridLineWidth(), 1);
    EXPECT_EQ(g.HighLight(), 1);
    EXPECT_EQ(g.MousePointer(), 0);
    EXPECT_EQ(g.PictureType(), 0);
    EXPECT_FALSE(g.RightToLeft());
    EXPECT_EQ(g.RowHeightMin(), 0);
    EXPECT_EQ(g.ScrollBars(), 3);
    EXPECT_FALSE(g.ScrollTrack());
    EXPECT_EQ(g.SelectionMode(), 0);
    EXPECT_EQ(g.TextStyle(), 0);
    EXPECT_EQ(g.TextStyleFixed(), 0);
    EXPECT_FALSE(g.WordWrap());
    EXPECT_TRUE(g.Redraw());
    EXPECT_EQ(g.OLEDropMode(), 0);
    EXPECT_EQ(g.FillStyle(), 0);
    ax::HeadlessFlexGrid other;
    EXPECT_NE(g.hWnd(), other.hWnd());
    // Surfaces and the host's windows draw from one series: no later window repeats a grid's handle.
    for (int i = 0; i < 20000; ++i) {
        const int32_t handle = ax::newWindowHandle();
        ASSERT_NE(handle, g.hWnd());
        ASSERT_NE(handle, other.hWnd());
    }
}

TEST_F(Grid, ShapeChangesKeepTextsDataAndFormatsWithTheirRows) {
    for (int32_t r = 0; r < g.Rows(); ++r) g.setRowData(r, 100 + r);
    g.setRow(3);
    g.setCol(2);
    g.setCellBackColor(ax::rgb(255, 0, 0));
    g.setCellFontBold(true);

    g.AddItem("new\tx", 2);  // rows 2.. move down by one
    EXPECT_EQ(g.Rows(), 21);
    EXPECT_EQ(g.TextMatrix(2, 0), "new");
    EXPECT_EQ(g.TextMatrix(2, 1), "x");
    EXPECT_EQ(g.TextMatrix(2, 2), "");
    EXPECT_EQ(g.RowData(2), 0);
    EXPECT_EQ(g.TextMatrix(4, 2), "3,2");
    EXPECT_EQ(g.RowData(4), 103);
    g.setRow(4);
    EXPECT_EQ(g.CellBackColor(), ax::rgb(255, 0, 0));
    EXPECT_TRUE(g.CellFontBold());
    g.setRow(3);
    EXPECT_EQ(g.CellBackColor(), 0u);

    g.RemoveItem(1);
    EXPECT_EQ(g.TextMatrix(3, 2), "3,2");
    EXPECT_EQ(g.RowData(3), 103);
    g.setRow(3);
    EXPECT_EQ(g.CellBackColor(), ax::rgb(255, 0, 0));

    // Columns: growing keeps every text; shrinking drops only the cut columns and their formats.
    g.setCols(8);
    EXPECT_EQ(g.TextMatrix(3, 2), "3,2");
    EXPECT_EQ(g.TextMatrix(3, 7), "");
    EXPECT_EQ(g.CellBackColor(), ax::rgb(255, 0, 0));
    g.setCols(2);
    EXPECT_EQ(g.Col(), 1);
    g.setCols(4);
    g.setCol(2);
    EXPECT_EQ(g.TextMatrix(3, 2), "");
    EXPECT_EQ(g.CellBackColor(), 0u);
    EXPECT_EQ(g.TextMatrix(3, 1), "3,1");

    // Rows: cutting and growing again gives empty rows without the old data or formats.
    g.setCol(1);
    g.setCellForeColor(ax::rgb(0, 0, 255));
    g.setRows(3);
    EXPECT_EQ(g.Row(), 2);
    g.setRows(20);
    EXPECT_EQ(g.TextMatrix(3, 1), "");
    EXPECT_EQ(g.RowData(3), 0);
    g.setRow(3);
    EXPECT_EQ(g.CellForeColor(), 0u);
    EXPECT_EQ(g.TextMatrix(2, 1), "2,1");
    // A removed row's slot comes back clean when rows are added again.
    g.setTextMatrix(5, 1, "gone");
    g.setRow(5);
    g.setCellBackColor(ax::rgb(1, 2, 3));
    g.RemoveItem(5);
    g.AddItem("");
    g.setRow(g.Rows() - 1);
    EXPECT_EQ(g.Text(), "");
    EXPECT_EQ(g.CellBackColor(), 0u);
}

TEST_F(Grid, RowAndColumnMovesCarryTheirCells) {
    for (int32_t r = 0; r < g.Rows(); ++r) g.setRowData(r, r);
    g.setColData(1, 11);
    g.setColWidth(1, 500);
    g.setColAlignment(1, ax::flex::AlignRightCenter);
    g.setRow(2);
    g.setCol(1);
    g.setCellBackColor(ax::rgb(9, 9, 9));

    g.setRowPosition(2, 5);  // rows 3..5 move up
    EXPECT_EQ(g.TextMatrix(5, 1), "2,1");
    EXPECT_EQ(g.TextMatrix(2, 1), "3,1");
    EXPECT_EQ(g.RowData(5), 2);
    g.setRow(5);
    EXPECT_EQ(g.CellBackColor(), ax::rgb(9, 9, 9));
    g.setRowPosition(5, 1);
    EXPECT_EQ(g.TextMatrix(1, 1), "2,1");
    EXPECT_EQ(g.TextMatrix(2, 1), "1,1");

    g.setColPosition(1, 4);  // columns 2..4 move left
    EXPECT_EQ(g.TextMatrix(0, 4), "0,1");
    EXPECT_EQ(g.TextMatrix(0, 1), "0,2");
    EXPECT_EQ(g.ColData(4), 11);
    EXPECT_EQ(g.ColWidth(4), 500);
    EXPECT_EQ(g.ColAlignment(4), ax::flex::AlignRightCenter);
    g.setRow(1);
    g.setCol(4);
    EXPECT_EQ(g.CellBackColor(), ax::rgb(9, 9, 9));
    g.setCol(1);
    EXPECT_EQ(g.CellBackColor(), 0u);

    EXPECT_EQ(errorOf([&] { g.setRowPosition(20, 1); }), fe::InvalidRowValue);
    EXPECT_EQ(errorOf([&] { g.setColPosition(1, 6); }), fe::InvalidColValue);
}

TEST_F(Grid, AddItemTextArrayAndClear) {
    g.AddItem("a\tb\tc\td\te\tf\tg\th");  // fields past the last column are dropped
    EXPECT_EQ(g.Rows(), 21);
    EXPECT_EQ(g.TextMatrix(20, 0), "a");
    EXPECT_EQ(g.TextMatrix(20, 5), "f");
    g.AddItem("z", 21);  // an index equal to Rows appends
    EXPECT_EQ(g.TextMatrix(21, 0), "z");
    g.AddItem("\t\tmid", 0);
    EXPECT_EQ(g.TextMatrix(0, 2), "mid");
    EXPECT_EQ(g.TextMatrix(1, 1), "0,1");

    EXPECT_EQ(g.TextArray(2 * 6 + 3), g.TextMatrix(2, 3));
    g.setTextArray(4 * 6 + 5, "via array");
    EXPECT_EQ(g.TextMatrix(4, 5), "via array");

    g.setRowData(3, 7);
    g.setRowHeight(3, 500);
    g.setRow(0);
    g.setCol(0);
    g.setCellBackColor(ax::rgb(5, 5, 5));
    g.Clear();
    EXPECT_EQ(g.Rows(), 23);
    EXPECT_EQ(g.Cols(), 6);
    for (int32_t r = 0; r < g.Rows(); ++r)
        for (int32_t c = 0; c < g.Cols(); ++c) ASSERT_EQ(g.TextMatrix(r, c), "");
    EXPECT_EQ(g.CellBackColor(), 0u);
    EXPECT_EQ(g.RowData(3), 7);
    EXPECT_EQ(g.RowHeight(3), 500);
}

TEST_F(Grid, ErrorsCarryTheGridsNumbersAndChangeNothing) {
    EXPECT_EQ(errorOf([&] { g.TextMatrix(20, 0); }), fe::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { g.setTextMatrix(0, -1, "x"); }), fe::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { g.TextArray(20 * 6); }), fe::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { g.RowData(-1); }), fe::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { g.setColWidth(6, 100); }), fe::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { g.setRow(20); }), fe::InvalidRowValue);
    EXPECT_EQ(errorOf([&] { g.setTopRow(-1); }), fe::InvalidRowValue);
    EXPECT_EQ(errorOf([&] { g.setCol(6); }), fe::InvalidColValue);
    EXPECT_EQ(errorOf([&] { g.setFixedRows(21); }), fe::InvalidRowValue);
    EXPECT_EQ(errorOf([&] { g.AddItem("x", 21); }), fe::InvalidRowValue);
    EXPECT_EQ(errorOf([&] { g.RemoveItem(0); }), fe::CannotRemoveFixedRow);
    EXPECT_EQ(errorOf([&] { g.setGridLineWidth(11); }), fe::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { g.setSort(10); }), fe::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { g.setCellAlignment(10); }), fe::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { g.setRows(-1); }), fe::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { g.setColWidth(1, -2); }), fe::InvalidPropertyValue);
    // A shape of more cells than memory should be asked for (a damaged form's Rows, say) is refused.
    EXPECT_EQ(errorOf([&] { g.setRows(100000000); }), fe::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { g.setRows(6000000); }), fe::InvalidPropertyValue);  // 36 million cells
    g.setRows(1100);
    EXPECT_EQ(errorOf([&] { g.setCols(32767); }), fe::InvalidPropertyValue);  // 36 million again
    EXPECT_EQ(g.Cols(), 6);
    g.setRows(20);
    EXPECT_EQ(g.Rows(), 20);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.GridLineWidth(), 1);
    EXPECT_EQ(g.CellAlignment(), ax::flex::AlignGeneral);

    try {
        g.setRow(99);
        FAIL();
    } catch (const ax::AutomationError& e) {
        EXPECT_EQ(e.description(), "Invalid Row value");
    }

    g.setRows(3);
    g.RemoveItem(2);
    EXPECT_EQ(errorOf([&] { g.RemoveItem(1); }), fe::CannotRemoveLastNonFixedRow);
    EXPECT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.TextMatrix(1, 1), "1,1");
}

TEST_F(Grid, CellFormatsOfTheCurrentCellOrTheSelection) {
    g.setRow(2);
    g.setCol(2);
    EXPECT_EQ(g.CellBackColor(), 0u);
    EXPECT_EQ(g.CellForeColor(), 0u);
    EXPECT_EQ(g.CellFontName(), g.Font()->Name());
    EXPECT_FLOAT_EQ(g.CellFontSize(), g.Font()->Size());
    EXPECT_EQ(g.CellPicture()->Handle(), 0);
    g.setCellFontName("Arial");
    g.setCellFontSize(12);
    g.setCellAlignment(ax::flex::AlignCenterCenter);
    g.setCellTextStyle(ax::flex::TextInset);
    auto pic = std::make_shared<ax::Picture>(1, 1, std::vector<uint32_t>{0xFF000000u});
    g.setCellPicture(pic);
    g.setCellPictureAlignment(ax::flex::PictureStretch);
    EXPECT_EQ(g.CellFontName(), "Arial");
    EXPECT_EQ(g.CellPicture(), pic);
    EXPECT_EQ(g.CellPictureAlignment(), ax::flex::PictureStretch);
    g.setCol(3);
    EXPECT_EQ(g.CellFontName(), g.Font()->Name());
    EXPECT_EQ(g.CellAlignment(), ax::flex::AlignGeneral);
    g.setCol(2);
    g.setCellPicture(ax::emptyPicture());
    EXPECT_EQ(g.CellPicture()->Handle(), 0);
    EXPECT_EQ(g.CellTextStyle(), ax::flex::TextInset);

    // FillStyle Repeat reaches every selected cell, with Text too; Single only the current cell.
    g.setRow(4);
    g.setCol(1);
    g.setRowSel(5);
    g.setColSel(2);
    g.setCellBackColor(ax::rgb(0, 128, 0));
    g.setText("one");
    g.setFillStyle(ax::flex::FillRepeat);
    g.setCellForeColor(ax::rgb(1, 1, 1));
    g.setText("all");
    EXPECT_EQ(g.TextMatrix(4, 1), "all");
    EXPECT_EQ(g.TextMatrix(5, 2), "all");
    EXPECT_EQ(g.TextMatrix(6, 1), "6,1");
    g.setFillStyle(ax::flex::FillSingle);
    g.setRow(5);
    g.setCol(2);
    EXPECT_EQ(g.CellForeColor(), ax::rgb(1, 1, 1));
    EXPECT_EQ(g.CellBackColor(), 0u);
}

TEST_F(Grid, FormatStringSetsHeadingsAlignmentsAndShape) {
    g.setCols(2);
    g.setFormatString("<Name|^Age|>Score|City");
    EXPECT_EQ(g.Cols(), 4);
    EXPECT_EQ(g.TextMatrix(0, 0), "Name");
    EXPECT_EQ(g.TextMatrix(0, 2), "Score");
    EXPECT_EQ(g.ColAlignment(0), ax::flex::AlignLeftCenter);
    EXPECT_EQ(g.ColAlignment(1), ax::flex::AlignCenterCenter);
    EXPECT_EQ(g.ColAlignment(2), ax::flex::AlignRightCenter);
    EXPECT_EQ(g.ColAlignment(3), ax::flex::AlignGeneral);
    EXPECT_GT(g.ColWidth(2), g.ColWidth(1));  // sized to the heading
    EXPECT_EQ(g.FormatString(), "<Name|^Age|>Score|City");

    g.setFormatString("|A|B;|first|second|third");
    EXPECT_EQ(g.Cols(), 3);
    EXPECT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.TextMatrix(0, 1), "A");
    EXPECT_EQ(g.TextMatrix(2, 0), "second");
    EXPECT_EQ(g.TextMatrix(3, 0), "third");
}

TEST_F(Grid, RedrawOffHoldsPaintingUntilRestored) {
    uint64_t before = g.paintCount();
    g.setTextMatrix(1, 1, "x");
    EXPECT_EQ(g.paintCount(), before + 1);
    g.setRedraw(false);
    g.setTextMatrix(1, 1, "y");
    g.setRow(3);
    g.Refresh();
    EXPECT_EQ(g.paintCount(), before + 1);
    EXPECT_TRUE(g.paintPending());
    g.setRedraw(true);
    EXPECT_EQ(g.paintCount(), before + 2);
    EXPECT_FALSE(g.paintPending());
    g.Refresh();
    EXPECT_EQ(g.paintCount(), before + 3);
}

TEST(FlexGridStorage, ManyRowsStayAlignedThroughReshapingAndRepacking) {
    ax::HeadlessFlexGrid g;
    g.setCols(3);
    g.setRows(1);
    for (int i = 1; i < 5000; ++i) g.AddItem(std::to_string(i) + "\tb" + std::to_string(i));
    g.setRowData(4321, 4321);
    g.setRow(4321);
    g.setCol(1);
    g.setCellBackColor(ax::rgb(7, 7, 7));
    g.setColPosition(1, 2);
    EXPECT_EQ(g.TextMatrix(4999, 2), "b4999");
    g.setCols(5);  // every block of rows is widened
    EXPECT_EQ(g.TextMatrix(2500, 0), "2500");
    EXPECT_EQ(g.TextMatrix(2500, 2), "b2500");
    g.setCol(2);
    EXPECT_EQ(g.CellBackColor(), ax::rgb(7, 7, 7));

    // Removing most rows repacks the storage; what is left keeps its texts, data and formats.
    g.setRowPosition(4321, 10);
    g.setRows(20);
    EXPECT_EQ(g.TextMatrix(10, 0), "4321");
    EXPECT_EQ(g.RowData(10), 4321);
    EXPECT_EQ(g.TextMatrix(19, 2), "b18");
    g.setRow(10);
    g.setCol(2);
    EXPECT_EQ(g.CellBackColor(), ax::rgb(7, 7, 7));
    g.setRows(3000);
    EXPECT_EQ(g.TextMatrix(2999, 0), "");
    EXPECT_EQ(g.TextMatrix(10, 2), "b4321");
}

// Texts, cell formats and the strings the grid's owner keeps beside them share one budget; what
// would pass it is refused with 380 and leaves the grid as it was, shrinking always works.
TEST(FlexGridBudget, CellsFormatsAndTheOwnersStringsShareOneBudget) {
    namespace fe = ax::flexerr;
    ax::HeadlessFlexGrid g(1000);
    g.setCols(10);
    g.setRows(100);  // the whole budget
    EXPECT_EQ(errorOf([&] { g.setRows(101); }), fe::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { g.AddItem("x"); }), fe::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { g.setCols(11); }), fe::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { g.setCellsBeside(1, 0); }), fe::InvalidPropertyValue);
    EXPECT_EQ(g.Rows(), 100);

    g.setRows(50);
    g.setCellsBeside(5, 200);  // 50 x (10 + 5) + 200
    EXPECT_EQ(errorOf([&] { g.setRows(54); }), fe::InvalidPropertyValue);
    g.setRows(53);
    g.setCellsBeside(0, 0);
    g.setRows(50);

    // A format let over a selection that would not fit changes no cell; one that fits counts until the
    // cells go.
    g.setFillStyle(ax::flex::FillRepeat);
    g.setRow(1);
    g.setCol(1);
    g.setRowSel(49);
    g.setColSel(9);
    EXPECT_EQ(errorOf([&] { g.setCellBackColor(ax::rgb(1, 2, 3)); }), fe::InvalidPropertyValue);
    EXPECT_EQ(g.cellFormat(1, 1), nullptr);
    EXPECT_EQ(g.cellFormat(49, 9), nullptr);
    g.setRowSel(1);
    g.setCellBackColor(ax::rgb(1, 2, 3));
    ASSERT_NE(g.cellFormat(1, 9), nullptr);
    EXPECT_EQ(errorOf([&] { g.setCellsBeside(0, 500); }), fe::InvalidPropertyValue);
    g.RemoveItem(1);
    g.setCellsBeside(0, 500);
    EXPECT_EQ(errorOf([&] { g.setRows(51); }), fe::InvalidPropertyValue);
}
