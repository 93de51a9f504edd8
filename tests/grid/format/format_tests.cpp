// Cell formats as a host sets and reads them, check-box cells keeping their check marks, pictures
// placed from the image list, and the cell under a point.
#include "platform/automation/convert.h"
#include "tests/grid/format/format_host.h"

namespace vantrel::fmttest {
namespace {

using Args = std::vector<ax::Variant>;

TEST_F(FormatTest, EachFormatReachesTheCurrentCellByNameAndTellsTheHost) {
    at(2, 1);
    const std::vector<std::pair<const char*, ax::Variant>> values = {
        {"CellAlignment", int32_t(ax::flex::AlignRightBottom)},
        {"CellFontBold", true},
        {"CellFontItalic", true},
        {"CellFontName", "Courier New"},
        {"CellFontSize", 14.5f},
        {"CellFontStrikeThrough", true},
        {"CellFontUnderline", true},
        {"CellFontWidth", 6.0f},
        {"CellPictureAlignment", int32_t(ax::flex::PictureStretch)},
        {"CellTextStyle", int32_t(ax::flex::TextInset)},
        {"CellBackColor", int32_t(ax::rgb(255, 0, 0))},
        {"CellForeColor", int32_t(ax::rgb(0, 255, 0))}};
    for (const auto& [name, value] : values) {
        Args put{value}, none;
        grid->Invoke(name, ax::InvokeKind::PropertyPut, put);
        EXPECT_EQ(ax::cStr(grid->Invoke(name, ax::InvokeKind::PropertyGet, none)), ax::cStr(value)) << name;
        EXPECT_EQ(changesNamed(name), 1u) << name;
    }
    EXPECT_TRUE(grid->CellFontBold());
    EXPECT_EQ(grid->CellFontName(), "Courier New");

    // The neighbour kept the grid's look; the geometry is the inner grid's rectangle of the cell.
    at(2, 2);
    EXPECT_FALSE(grid->CellFontBold());
    EXPECT_EQ(grid->CellFontName(), inner().Font()->Name());
    EXPECT_EQ(grid->CellLeft(), inner().ColPos(2));
    EXPECT_EQ(grid->CellTop(), inner().RowPos(2));
    EXPECT_EQ(grid->CellWidth(), inner().ColWidth(2));
    EXPECT_EQ(grid->CellHeight(), inner().RowHeight(2));
}

TEST_F(FormatTest, ColoursOfACellWithoutItsOwnAreTheGrids) {
    inner().setBackColor(ax::rgb(10, 20, 30));
    inner().setForeColor(ax::rgb(40, 50, 60));
    at(1, 1);
    EXPECT_EQ(grid->CellBackColor(), ax::rgb(10, 20, 30));
    EXPECT_EQ(grid->CellForeColor(), ax::rgb(40, 50, 60));
    grid->setCellBackColor(ax::rgb(255, 0, 0));
    grid->setCellForeColor(ax::rgb(0, 255, 0));
    EXPECT_EQ(grid->CellBackColor(), ax::rgb(255, 0, 0));
    EXPECT_EQ(grid->CellForeColor(), ax::rgb(0, 255, 0));
    EXPECT_EQ(changesNamed("CellBackColor"), 1u);
    // Black is 0, which reads as "none of its own".
    grid->setCellBackColor(0);
    grid->setCellForeColor(0);
    EXPECT_EQ(grid->CellBackColor(), ax::rgb(10, 20, 30));
    EXPECT_EQ(grid->CellForeColor(), ax::rgb(40, 50, 60));
    // A system colour of the grid is answered as it is, not resolved.
    inner().setBackColor(ax::syscolor::WindowBackground);
    EXPECT_EQ(grid->CellBackColor(), ax::syscolor::WindowBackground);
}

TEST_F(FormatTest, AlignmentsNarrowToSixteenBitsAndTheInnerGridsRefusalsReachTheHost) {
    at(1, 1);
    EXPECT_EQ(errorOf([&] { grid->setCellAlignment(70000); }), ax::err::Overflow);
    EXPECT_EQ(errorOf([&] { grid->setCellAlignment(-32769); }), ax::err::Overflow);
    EXPECT_EQ(errorOf([&] { grid->setCellPictureAlignment(70000); }), ax::err::Overflow);
    Args big{ax::Variant(int32_t(70000))};
    EXPECT_EQ(errorOf([&] { grid->Invoke("CellAlignment", ax::InvokeKind::PropertyPut, big); }),
              ax::err::Overflow);
    // In range for 16 bits but not an alignment: the inner grid's own error, and no notification.
    EXPECT_EQ(errorOf([&] { grid->setCellAlignment(40); }), ax::flexerr::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { grid->setCellFontName(""); }), ax::flexerr::InvalidPropertyValue);
    EXPECT_EQ(grid->CellAlignment(), inner().CellAlignment());
    EXPECT_EQ(
        changesNamed("CellAlignment") + changesNamed("CellPictureAlignment") + changesNamed("CellFontName"),
        0u);
}

TEST_F(FormatTest, AFormDesignerGetsOnlyTheGeometry) {
    grid = std::make_shared<Vantrel>();
    host = std::make_unique<ax::HeadlessHost>(children = std::make_shared<BreakableChildren>());
    place(false);
    const std::vector<std::function<void()>> runTimeOnly = {
        [&] { grid->CellAlignment(); },
        [&] { grid->setCellAlignment(1); },
        [&] { grid->CellBackColor(); },
        [&] { grid->setCellBackColor(1); },
        [&] { grid->CellForeColor(); },
        [&] { grid->setCellForeColor(1); },
        [&] { grid->CellFontBold(); },
        [&] { grid->setCellFontBold(true); },
        [&] { grid->CellFontItalic(); },
        [&] { grid->setCellFontItalic(true); },
        [&] { grid->CellFontName(); },
        [&] { grid->setCellFontName("Arial"); },
        [&] { grid->CellFontSize(); },
        [&] { grid->setCellFontSize(9); },
        [&] { grid->CellFontStrikeThrough(); },
        [&] { grid->setCellFontStrikeThrough(true); },
        [&] { grid->CellFontUnderline(); },
        [&] { grid->setCellFontUnderline(true); },
        [&] { grid->CellFontWidth(); },
        [&] { grid->setCellFontWidth(3); },
        [&] { grid->CellPictureAlignment(); },
        [&] { grid->setCellPictureAlignment(1); },
        [&] { grid->CellTextStyle(); },
        [&] { grid->setCellTextStyle(1); },
        [&] { grid->CellPicture(); },
        [&] { grid->setCellPicture(red); },
        [&] { grid->SetCellPicture(1, 1, ax::Variant(int32_t(1))); },
    };
    for (size_t i = 0; i < runTimeOnly.size(); ++i)
        EXPECT_EQ(errorOf(runTimeOnly[i]), ax::err::RunTimeOnly) << i;
    EXPECT_EQ(host->propertyChanges(*grid).size(), 0u);
    EXPECT_FALSE(inner().CellFontBold());
    EXPECT_EQ(grid->CellWidth(), inner().CellWidth());
    EXPECT_EQ(grid->CellHeight(), inner().CellHeight());
    EXPECT_EQ(grid->CellLeft(), inner().CellLeft());
    EXPECT_EQ(grid->CellTop(), inner().CellTop());
}

TEST_F(FormatTest, CheckBoxCellsNeitherShowNorTakeAHostsPicture) {
    useColumn(2, CheckBox);
    grid->setTextMatrix(1, 2, "1");
    at(1, 2);
    const int32_t tick = pictureAt(1, 2);
    ASSERT_NE(tick, 0);                           // the cell shows the check mark...
    EXPECT_EQ(grid->CellPicture()->Handle(), 0);  // ...which the host does not see
    host->clearPropertyChanges();
    grid->setCellPicture(red);
    EXPECT_EQ(pictureAt(1, 2), tick);
    EXPECT_EQ(grid->TextMatrix(1, 2), "1");
    EXPECT_EQ(changesNamed("CellPicture"), 0u);

    // Any other column shows and takes pictures; an empty one clears.
    at(1, 3);
    grid->setCellPicture(red);
    EXPECT_EQ(grid->CellPicture()->Handle(), red->Handle());
    EXPECT_EQ(changesNamed("CellPicture"), 1u);
    grid->setCellPicture(ax::emptyPicture());
    EXPECT_EQ(pictureAt(1, 3), 0);
    Args set{ax::Variant(std::shared_ptr<ax::Object>(blue))};
    grid->Invoke("CellPicture", ax::InvokeKind::PropertyPutRef, set);
    EXPECT_EQ(pictureAt(1, 3), blue->Handle());
}

TEST_F(FormatTest, SetCellPictureTakesTheImageListsPictureWithoutMovingTheCurrentCell) {
    // Without an image list, or without an index, nothing happens.
    at(2, 2);
    grid->SetCellPicture(3, 1, ax::Variant(int32_t(1)));
    EXPECT_EQ(pictureAt(3, 1), 0);
    attachImages();
    grid->SetCellPicture(3, 1, ax::Variant());
    grid->SetCellPicture(3, 1, ax::Variant(""));
    EXPECT_EQ(pictureAt(3, 1), 0);

    events.rowColChanges = 0;
    host->clearPropertyChanges();
    grid->SetCellPicture(3, 1, ax::Variant(int32_t(2)));
    grid->SetCellPicture(4, 3, ax::Variant("red"));
    grid->SetCellPicture(0, 0, ax::Variant("2"));  // a text index is a key: no image has it
    EXPECT_EQ(pictureAt(3, 1), blue->Handle());
    EXPECT_EQ(pictureAt(4, 3), red->Handle());
    EXPECT_EQ(pictureAt(0, 0), 0);
    EXPECT_EQ(inner().Row(), 2);
    EXPECT_EQ(inner().Col(), 2);
    EXPECT_TRUE(host->propertyChanges(*grid).empty());

    // Bad indexes and cells are swallowed; the picture stays and the current cell comes back.
    inner().setRedraw(false);
    grid->SetCellPicture(3, 1, ax::Variant(int32_t(9)));
    EXPECT_TRUE(inner().Redraw());
    EXPECT_EQ(pictureAt(3, 1), blue->Handle());
    grid->SetCellPicture(3, 1, ax::Variant("green"));
    grid->SetCellPicture(99, 1, ax::Variant(int32_t(1)));
    grid->SetCellPicture(1, -1, ax::Variant(int32_t(1)));
    EXPECT_EQ(pictureAt(3, 1), blue->Handle());
    EXPECT_EQ(inner().Row(), 2);
    EXPECT_EQ(inner().Col(), 2);
    EXPECT_TRUE(inner().Redraw());

    // A check-box column keeps its check marks.
    useColumn(1, CheckBox);
    grid->setTextMatrix(4, 1, "1");
    const int32_t tick = pictureAt(4, 1);
    grid->SetCellPicture(4, 1, ax::Variant(int32_t(1)));
    grid->SetCellPicture(5, 1, ax::Variant(int32_t(1)));
    EXPECT_EQ(pictureAt(4, 1), tick);
    EXPECT_EQ(pictureAt(5, 1), 0);
    EXPECT_EQ(grid->TextMatrix(5, 1), "0");

    // By name, with the index omitted from nothing: all three arguments are given.
    Args args{ax::Variant(int32_t(5)), ax::Variant(int32_t(2)), ax::Variant(int32_t(1))};
    grid->Invoke("SetCellPicture", ax::InvokeKind::Method, args);
    EXPECT_EQ(pictureAt(5, 2), red->Handle());
}

TEST_F(FormatTest, SetCellPictureLeavesTheCurrentCellWhenPaintingCannotBeSwitchedOff) {
    attachImages();
    at(2, 2);
    inner().failing = {"Redraw"};
    grid->SetCellPicture(4, 3, ax::Variant(int32_t(1)));
    inner().failing.clear();
    EXPECT_EQ(inner().Row(), 2);
    EXPECT_EQ(inner().Col(), 2);
    EXPECT_EQ(pictureAt(4, 3), 0);
    EXPECT_EQ(pictureAt(0, 0), 0);
}

// --- hit test ---

class HitTest : public FormatTest {
  protected:
    // Column `col` is lCol, row `row` is lRow; the point is passed as a host passes it.
    std::pair<int32_t, int32_t> hit(double x, double y) {
        int32_t col = 99, row = 99;
        float fx = float(x), fy = float(y);
        grid->GetCellFromScreenCoord(col, row, fx, fy);
        return {row, col};
    }
    double midX(int32_t c) { return inner().ColPos(c) + inner().ColWidth(c) / 2.0; }
    double midY(int32_t r) { return inner().RowPos(r) + inner().RowHeight(r) / 2.0; }
    using Cell = std::pair<int32_t, int32_t>;
};

TEST_F(HitTest, PointsInsideCellsFindThemAndEdgesBelongToNoCell) {
    EXPECT_EQ(hit(midX(2), midY(3)), Cell(3, 2));
    EXPECT_EQ(hit(midX(0), midY(0)), Cell(0, 0));  // the fixed corner
    EXPECT_EQ(hit(midX(3), midY(0)), Cell(0, 3));  // a heading
    // On the line between rows 2 and 3, and on the line between columns 1 and 2.
    EXPECT_EQ(hit(midX(1), inner().RowPos(3)), Cell(-1, -1));
    EXPECT_EQ(hit(inner().ColPos(1) + inner().ColWidth(1), midY(2)), Cell(2, -1));
    EXPECT_EQ(hit(inner().ColPos(2) + 0.5, inner().RowPos(3) + 0.5), Cell(3, 2));
    EXPECT_EQ(hit(0, midY(1)), Cell(1, -1));  // the grid's own left edge
    // Below the last row, and right of the last column.
    const double below = inner().RowPos(5) + inner().RowHeight(5) + 10;
    EXPECT_EQ(hit(midX(1), below), Cell(-1, -1));
    EXPECT_EQ(hit(inner().ColPos(3) + inner().ColWidth(3) + 10, midY(4)), Cell(4, -1));
    // A hidden row and a hidden column are never hit.
    const double y2 = midY(2), x2 = midX(2);
    inner().setRowHeight(2, 0);
    inner().setColWidth(2, 0);
    // What lay under their middles is now the next row and column.
    EXPECT_EQ(hit(midX(1), y2), Cell(3, 1));
    EXPECT_EQ(hit(x2, midY(1)), Cell(1, 3));

    // By name: the outputs come back in the argument list, the point is unchanged.
    inner().setRowHeight(2, -1);
    inner().setColWidth(2, -1);
    Args args{ax::Variant(int32_t(0)), ax::Variant(int32_t(0)), ax::Variant(float(midX(3))),
              ax::Variant(float(midY(1)))};
    grid->Invoke("GetCellFromScreenCoord", ax::InvokeKind::Method, args);
    EXPECT_EQ(ax::cLng(args[0]), 3);
    EXPECT_EQ(ax::cLng(args[1]), 1);
    EXPECT_FLOAT_EQ(ax::cSng(args[2]), float(midX(3)));
}

TEST_F(HitTest, RowsAndColumnsScrolledOutOfViewAreNeverReturned) {
    grid->setRows(60);
    grid->setCols(30);
    inner().setTopRow(20);
    inner().setLeftCol(10);
    ASSERT_FALSE(inner().RowIsVisible(5));
    // Just under the fixed row lies the top row; under the fixed column, the left column.
    EXPECT_EQ(hit(midX(10), midY(20)), Cell(20, 10));
    EXPECT_EQ(hit(midX(0), midY(0)), Cell(0, 0));
    // Every visible cell's middle finds that cell, and no scrolled-out index is ever returned.
    for (int32_t r = 0; r < 60; ++r) {
        for (int32_t c = 0; c < 30; ++c) {
            const bool shown = inner().RowIsVisible(r) && inner().ColIsVisible(c);
            if (!shown) continue;
            EXPECT_EQ(hit(midX(c), midY(r)), Cell(r, c));
        }
    }
    for (double y = 0; y < 3000; y += 37) {
        for (double x = 0; x < 6000; x += 53) {
            const auto [row, col] = hit(x, y);
            if (row >= 1) {
                EXPECT_GE(row, 20);
            }
            if (col >= 1) {
                EXPECT_GE(col, 10);
            }
            if (row == -1) {
                EXPECT_EQ(col, -1);
            }
        }
    }
}

TEST_F(HitTest, AFailingQueryEndsTheSearchQuietly) {
    const double x3 = midX(2), y3 = midY(3);
    inner().failing = {"ColPos"};
    EXPECT_EQ(hit(x3, y3), Cell(3, -1));
    inner().failing = {"RowPos"};
    int32_t col = 7, row = 7;
    float x = 100, y = 100;
    EXPECT_NO_THROW(grid->GetCellFromScreenCoord(col, row, x, y));
    EXPECT_EQ(row, -1);
    EXPECT_EQ(col, -1);
}

}  // namespace
}  // namespace vantrel::fmttest
