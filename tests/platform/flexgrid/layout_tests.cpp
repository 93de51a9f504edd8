// Layout: sizes, positions and visibility before and after scrolling, the current cell's rectangle,
// the cell under the mouse and the snapshot.
#include <limits>

#include "grid_fixture.h"

using namespace fgtest;

TEST_F(Grid, PositionsAndVisibilityFollowScrolling) {
    rec.attach(g);
    EXPECT_EQ(g.RowPos(0), 0);
    EXPECT_EQ(g.RowPos(1), 240);
    EXPECT_EQ(g.RowPos(5), 1200);
    EXPECT_TRUE(g.RowIsVisible(9));
    EXPECT_FALSE(g.RowIsVisible(10));  // starts at the bottom edge
    EXPECT_EQ(g.ColPos(3), 2880);
    EXPECT_TRUE(g.ColIsVisible(3));  // partly shown
    EXPECT_FALSE(g.ColIsVisible(4));

    g.setTopRow(5);
    EXPECT_EQ(g.TopRow(), 5);
    EXPECT_EQ(g.RowPos(0), 0);  // fixed rows stay where they are
    EXPECT_EQ(g.RowPos(5), 240);
    EXPECT_EQ(g.RowPos(6), 480);
    EXPECT_FALSE(g.RowIsVisible(4));
    EXPECT_FALSE(g.RowIsVisible(1));
    EXPECT_TRUE(g.RowIsVisible(0));
    EXPECT_TRUE(g.RowIsVisible(13));
    EXPECT_FALSE(g.RowIsVisible(14));
    g.setTopRow(5);   // no change, no Scroll
    g.setTopRow(19);  // only as far as the last row still fills the surface
    EXPECT_EQ(g.TopRow(), 11);
    EXPECT_TRUE(g.RowIsVisible(19));
    g.setTopRow(0);  // a fixed row is taken as the first scrollable one
    EXPECT_EQ(g.TopRow(), 1);

    g.setLeftCol(3);
    EXPECT_EQ(g.ColPos(0), 0);
    EXPECT_EQ(g.ColPos(3), 960);
    EXPECT_EQ(g.ColPos(5), 2880);
    EXPECT_FALSE(g.ColIsVisible(2));
    EXPECT_TRUE(g.ColIsVisible(5));
    g.setLeftCol(5);
    EXPECT_EQ(g.LeftCol(), 4);
    EXPECT_EQ(rec.log, (std::vector<std::string>{"Scroll@5,1", "Scroll@11,1", "Scroll@1,1", "Scroll@1,3",
                                                 "Scroll@1,4"}));
}

TEST_F(Grid, SizesComeFromTheFontAndFromTheHost) {
    EXPECT_EQ(g.RowHeight(1), 240);
    EXPECT_EQ(g.ColWidth(1), 960);
    auto big = std::make_shared<ax::Font>("Arial", 12.0f);
    g.setFont(big);
    EXPECT_GT(g.RowHeight(1), 240);
    EXPECT_GT(g.ColWidth(1), 960);
    EXPECT_EQ(g.RowPos(2), 2 * g.RowHeight(1));
    g.setFont(std::make_shared<ax::Font>());

    g.setRowHeight(3, 600);
    EXPECT_EQ(g.RowPos(4), 240 + 240 + 240 + 600);
    g.setRowHeightMin(300);
    EXPECT_EQ(g.RowHeight(1), 300);
    EXPECT_EQ(g.RowHeight(3), 600);
    EXPECT_EQ(g.RowPos(4), 300 * 3 + 600);
    g.setRowHeight(3, -1);
    EXPECT_EQ(g.RowHeight(3), 300);
    g.setRowHeightMin(0);

    g.setColWidth(2, 0);  // hidden
    EXPECT_FALSE(g.ColIsVisible(2));
    EXPECT_EQ(g.ColPos(3), 1920);
    g.setColWidth(2, -1);
    EXPECT_EQ(g.ColWidth(2), 960);

    // The last scroll position leaves exactly the rows that fit: 1200 + 4 x 240 in 2160 twips.
    g.setRowHeight(19, 1200);
    g.setTopRow(19);
    EXPECT_EQ(g.TopRow(), 15);
    EXPECT_TRUE(g.RowIsVisible(19));
    EXPECT_FALSE(g.RowIsVisible(14));
}

TEST_F(Grid, CellRectangleOfTheCurrentCell) {
    g.setRow(6);
    g.setCol(2);
    EXPECT_EQ(g.CellLeft(), 1920);
    EXPECT_EQ(g.CellTop(), 1440);
    EXPECT_EQ(g.CellWidth(), 960);
    EXPECT_EQ(g.CellHeight(), 240);
    g.setTopRow(4);
    g.setLeftCol(2);
    g.setColWidth(2, 1200);
    g.setRowHeight(5, 400);
    EXPECT_EQ(g.CellLeft(), 960);
    EXPECT_EQ(g.CellTop(), 240 + 240 + 400);
    EXPECT_EQ(g.CellWidth(), 1200);
    EXPECT_EQ(g.CellHeight(), 240);
    g.setRow(0);
    g.setCol(0);
    EXPECT_EQ(g.CellLeft(), 0);
    EXPECT_EQ(g.CellTop(), 0);
}

TEST_F(Grid, CellUnderTheMouse) {
    auto over = [&](float x, float y) {
        g.mouseMove(0, 0, x, y);
        return std::make_pair(g.MouseRow(), g.MouseCol());
    };
    EXPECT_EQ(over(1000, 250), std::make_pair(1, 1));
    EXPECT_EQ(over(100, 100), std::make_pair(0, 0));
    EXPECT_EQ(over(2999, 2399), std::make_pair(9, 3));
    EXPECT_EQ(over(961, 240), std::make_pair(1, 1));  // a row's top edge belongs to it
    EXPECT_EQ(over(1000, 2400), std::make_pair(-1, 1));
    EXPECT_EQ(over(3000, 300), std::make_pair(1, -1));
    g.setTopRow(5);
    g.setLeftCol(3);
    EXPECT_EQ(over(1000, 250), std::make_pair(5, 3));
    // Rows of different heights.
    g.setRowHeight(6, 1000);
    EXPECT_EQ(over(1000, 240 + 240 + 999), std::make_pair(6, 3));
    EXPECT_EQ(over(1000, 240 + 240 + 1000), std::make_pair(7, 3));
    int32_t r = 0, c = 0;
    EXPECT_TRUE(g.cellAt(10, 2000, r, c));
    EXPECT_EQ(r, 9);
    EXPECT_EQ(c, 0);
}

TEST_F(Grid, SnapshotShowsTheCellColours) {
    g.setCellBackColor(ax::rgb(10, 20, 30));  // current cell 1,1
    ax::PicturePtr pic = g.Picture();
    ASSERT_EQ(pic->Width(), 200);
    ASSERT_EQ(pic->Height(), 160);
    auto at = [&](int x, int y) { return pic->pixels()[size_t(y) * 200 + x] & 0xFFFFFFu; };
    EXPECT_EQ(at(5, 5), ax::resolveColor(g.BackColorFixed()));
    EXPECT_EQ(at(70, 20), ax::rgb(10, 20, 30));
    EXPECT_EQ(at(140, 20), ax::resolveColor(g.BackColor()));
    EXPECT_EQ(at(140, 31), ax::resolveColor(g.GridColor()));  // bottom line of row 1
    EXPECT_NE(pic->Handle(), 0);

    // A hidden row draws nothing and the rows after it move up.
    g.setRowHeight(1, 0);
    g.setRow(3);
    g.setCellBackColor(ax::rgb(40, 50, 60));  // row 3 now spans pixels 32..48
    pic = g.Picture();
    EXPECT_EQ(pic->pixels()[size_t(40) * 200 + 70] & 0xFFFFFFu, ax::rgb(40, 50, 60));
}

// Layout keeps the positions of rows and columns: with the widest grid there is, a snapshot and
// visibility queries over every column read a few sizes each, not every column before them.
TEST(GridLayout, HugeShapesCostWhatShowsNotWhatCameBefore) {
    ax::HeadlessFlexGrid g;
    g.setWidth(3000);
    g.setHeight(2400);
    g.setCols(32767);
    g.setRows(3);
    g.setColWidth(7, 0);
    g.ColPos(g.Cols() - 1);  // positions worked out once
    uint64_t before = g.layoutReads();
    const ax::PicturePtr snapshot = g.Picture();
    EXPECT_LT(g.layoutReads() - before, 100u);
    EXPECT_EQ(snapshot->Width(), 200);
    int visible = 0;
    for (int32_t c = 0; c < g.Cols(); ++c) visible += g.ColIsVisible(c);
    EXPECT_EQ(visible, 4);  // the fixed column and three more; 7 is hidden but far off anyway
    g.setLeftCol(32000);
    EXPECT_EQ(g.LeftCol(), 32000);
    EXPECT_EQ(g.ColPos(32001), 960 + 960);
    g.setLeftCol(32766);  // only as far as the last columns still fill the surface
    EXPECT_EQ(g.LeftCol(), 32765);
    g.mouseDown(1, 0, 2000, 300);
    EXPECT_EQ(g.MouseCol(), 32766);
    EXPECT_LT(g.layoutReads() - before, 3u * 32767u);

    // Rows of their own heights: the same for a hundred thousand of them.
    ax::HeadlessFlexGrid tall;
    tall.setWidth(3000);
    tall.setHeight(2400);
    tall.setRows(100000);
    tall.setRowHeight(50000, 500);
    tall.RowPos(tall.Rows() - 1);
    before = tall.layoutReads();
    tall.Picture();
    EXPECT_LT(tall.layoutReads() - before, 100u);
    visible = 0;
    for (int32_t r = 0; r < tall.Rows(); ++r) visible += tall.RowIsVisible(r);
    EXPECT_EQ(visible, 10);
    tall.setTopRow(50000);
    tall.mouseDown(1, 0, 1000, 240 + 499);
    EXPECT_EQ(tall.MouseRow(), 50000);
    EXPECT_LT(tall.layoutReads() - before, 3u * 100000u);
}

// A host may give any floating size; layout still answers, as a surface of no size or the largest one.
TEST(GridLayout, SizesThatAreNotNumbersLayOutAsNothingOrAsTheLargest) {
    ax::HeadlessFlexGrid g;
    g.setRows(20);
    g.setCols(6);
    g.setWidth(std::numeric_limits<float>::quiet_NaN());
    g.setHeight(std::numeric_limits<float>::infinity());
    EXPECT_EQ(g.Picture()->Width(), 1);
    EXPECT_EQ(g.Picture()->Height(), 4096);
    EXPECT_FALSE(g.ColIsVisible(1));
    EXPECT_TRUE(g.RowIsVisible(19));
    g.setLeftCol(3);
    EXPECT_EQ(g.LeftCol(), 3);
    g.mouseDown(1, 0, std::numeric_limits<float>::quiet_NaN(), 300);
    EXPECT_EQ(g.MouseRow(), 1);
    EXPECT_EQ(g.MouseCol(), -1);
    g.setWidth(std::numeric_limits<float>::infinity());
    EXPECT_EQ(g.Picture()->Width(), 4096);
    // A font too big for any screen still gives sizes the layout can add up.
    g.setFont(std::make_shared<ax::Font>("Arial", 3e38f));
    g.setLeftCol(1);
    EXPECT_GT(g.RowHeight(1), 0);
    EXPECT_GT(g.ColWidth(1), g.RowHeight(1));
    EXPECT_EQ(g.ColPos(1), g.ColWidth(0));
    EXPECT_EQ(g.ColPos(5), INT32_MAX);  // beyond the 32-bit range, positions read as the largest
}
