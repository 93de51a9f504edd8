// The grid's shape, the current cell, adding, removing, clearing, moving and sorting rows.
#include "tests/grid/frame/grid_host.h"

namespace vantrel::test {
namespace {

using ShapeTest = GridTest;

TEST_F(ShapeTest, OutOfRangeShapesAreIgnoredSilently) {
    grid->setRows(32768);
    grid->setRows(-1);
    grid->setCols(40000);
    grid->setFixedCols(1);
    grid->setCols(0);  // below FixedCols
    grid->setFixedCols(3);
    EXPECT_EQ(grid->Rows(), 2);
    EXPECT_EQ(grid->Cols(), 2);
    EXPECT_EQ(grid->FixedCols(), 1);
    EXPECT_TRUE(changes() == std::vector<std::string>{"FixedCols"});

    grid->setRows(32767);
    EXPECT_EQ(grid->Rows(), 32767);
    grid->setRows(0);  // below FixedRows (1)
    EXPECT_EQ(grid->Rows(), 32767);
    grid->setCols(5);
    EXPECT_EQ(grid->Cols(), 5);
    EXPECT_EQ(changesNamed("Rows"), 1u);
    EXPECT_EQ(changesNamed("Cols"), 1u);
}

TEST_F(ShapeTest, CurrentCellMembersCheckTheirRanges) {
    fill(5, 4);
    grid->setCol(0);  // FixedCols - 1
    grid->setRow(5);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_TRUE(changes().empty());
    grid->setRow(4);
    grid->setCol(3);
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_EQ(grid->Col(), 3);
    grid->setTopRow(0);  // accepted by the control even on a fixed row
    grid->setTopRow(5);
    grid->setLeftCol(4);
    EXPECT_EQ((std::vector<std::string>{"Row", "Col", "TopRow"}), changes());

    host->setUserMode(false);
    for (auto call : std::vector<std::function<void()>>{
             [&] { grid->Row(); }, [&] { grid->setCol(2); }, [&] { grid->RowSel(); },
             [&] { grid->setColSel(1); }, [&] { grid->TopRow(); }, [&] { grid->setLeftCol(1); }})
        EXPECT_EQ(errorOf(call), ax::err::RunTimeOnly);
    // Shape members work in the designer.
    grid->setRows(7);
    EXPECT_EQ(grid->Rows(), 7);
}

TEST_F(ShapeTest, FixedRowsRefusalsAndTheMessageBoxOfAFailure) {
    fill(4, 3);
    grid->setFixedRows(5);
    grid->setFixedRows(-1);
    EXPECT_EQ(grid->FixedRows(), 1);
    EXPECT_TRUE(host->messageBoxes().empty());

    grid->setFixedRows(2);
    EXPECT_EQ(grid->FixedRows(), 2);
    EXPECT_EQ(changesNamed("FixedRows"), 1u);
}

TEST(ShapeFailures, AFailingFixedRowsIsShownInAMessageBoxAndNotRaised) {
    registerNumberEditor();
    auto children = std::make_shared<FaultyChildren>();
    ax::HeadlessHost host(children);
    host.setUserMode(true);
    auto g = std::make_shared<Vantrel>();
    host.place(g, 3000, 2000);
    g->setRows(4);
    host.clearPropertyChanges();
    children->grid->failing = {"FixedRows"};
    EXPECT_EQ(errorOf([&] { g->setFixedRows(2); }), 0);
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_EQ(host.messageBoxes()[0].prompt, "Vantrel -FixedRows: 380:Invalid property value");
    EXPECT_EQ(host.messageBoxes()[0].buttons, ax::mb::OkOnly);
    EXPECT_EQ(host.messageBoxes()[0].title, "");
    EXPECT_EQ(g->FixedRows(), 1);
    EXPECT_TRUE(host.propertyChanges(*g).empty());
}

TEST_F(ShapeTest, RowsThatBecomeScrollableTakeTheEmptyStateOfNumberColumns) {
    fill(5, 3);
    atColumn(2);
    grid->setColInputStyle(ZelPicker);
    grid->setFixedRows(3);
    grid->setTextMatrix(1, 2, "heading");
    grid->setTextMatrix(2, 2, "");
    grid->setFixedRows(1);
    EXPECT_EQ(column(2), (std::vector<std::string>{"r0c2", "0", "0", "0", "0"}));
}

TEST_F(ShapeTest, AddingAndRemovingRows) {
    fill(3, 3);
    atColumn(2);
    grid->setColInputStyle(ZelPicker);
    grid->setColZelPickerInitValue(7);
    host->clearPropertyChanges();

    grid->AddItem("a\tb\tc", 3);  // Index = Rows: ignored
    EXPECT_EQ(grid->Rows(), 3);
    grid->AddItem("a\tb\tc");
    EXPECT_EQ(grid->Rows(), 4);
    EXPECT_EQ(grid->TextMatrix(3, 1), "b");
    EXPECT_EQ(grid->TextMatrix(3, 2), "7");  // the number column's empty state
    grid->AddItem("x\ty", 1);
    EXPECT_EQ(column(1), (std::vector<std::string>{"r0c1", "y", "r1c1", "r2c1", "b"}));
    EXPECT_EQ(grid->TextMatrix(1, 2), "7");
    EXPECT_TRUE(changes().empty());  // no notification for AddItem

    grid->RemoveItem(5);
    grid->RemoveItem(-1);
    EXPECT_EQ(grid->Rows(), 5);
    grid->RemoveItem(2);
    EXPECT_EQ(column(1), (std::vector<std::string>{"r0c1", "y", "r2c1", "b"}));
    // The inner grid's refusal reaches the caller.
    EXPECT_NE(errorOf([&] { grid->RemoveItem(0); }), 0);
    EXPECT_EQ(grid->Rows(), 4);
}

TEST_F(ShapeTest, ClearEmptiesEveryCellAndRestoresEachKindsEmptyState) {
    fill(3, 4);
    atColumn(1);
    grid->setColInputStyle(CheckBox);
    grid->setTextMatrix(1, 1, "1");
    atColumn(2);
    grid->setColInputStyle(ZelPicker);
    grid->setTextMatrix(1, 2, "5");
    grid->Clear();
    EXPECT_EQ(column(1), (std::vector<std::string>{"0", "0", "0"}));
    EXPECT_EQ(column(2), (std::vector<std::string>{"", "0", "0"}));
    EXPECT_EQ(column(3), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(grid->Rows(), 3);
}

TEST_F(ShapeTest, MovingRowsAndColumnsLeavesSettingsWithTheirPositions) {
    fill(4, 4);
    atColumn(3);
    grid->setColInputStyle(ZelPicker);  // column 3's cells become "0"
    grid->setColTextMaxLength(9);
    grid->setRow(1);
    grid->setCol(2);
    host->clearPropertyChanges();

    grid->setColPosition(3, 2);  // equals the current column: ignored
    grid->setColPosition(3, 0);  // below FixedCols
    grid->setColPosition(3, 4);
    EXPECT_TRUE(changes().empty());
    grid->setColPosition(1, 3);
    EXPECT_EQ(grid->TextMatrix(0, 3), "r0c1");
    EXPECT_EQ(changesNamed("ColPosition"), 1u);
    // The kind stayed with position 3, so its reading there is now of the moved texts.
    atColumn(3);
    EXPECT_EQ(grid->ColInputStyle(), ZelPicker);
    EXPECT_EQ(grid->ColTextMaxLength(), 9);

    grid->setRow(1);
    grid->setRowPosition(2, 1);  // equals the current row: ignored
    grid->setRowPosition(2, 4);
    EXPECT_EQ(changesNamed("RowPosition"), 0u);
    grid->setRowPosition(3, 2);
    EXPECT_EQ(grid->TextMatrix(2, 0), "r3c0");
    EXPECT_EQ(changesNamed("RowPosition"), 1u);
}

TEST_F(ShapeTest, SortRunsOnlyWhileNoColumnKeepsMaintainedStrings) {
    fill(4, 2);
    grid->setTextMatrix(1, 1, "c");
    grid->setTextMatrix(2, 1, "a");
    grid->setTextMatrix(3, 1, "b");
    grid->setRow(1);
    grid->setCol(1);

    atColumn(1);
    grid->setColMaintainData(true);
    grid->setSort(1);
    EXPECT_EQ(column(1), (std::vector<std::string>{"r0c1", "c", "a", "b"}));
    grid->setColMaintainData(false);

    // The grid-wide switch refuses sorting even after every column's own flag went off again.
    grid->setMaintainData(true);
    grid->setMaintainData(false);
    grid->setMaintainData(true);
    for (int32_t c = 0; c < 2; ++c) {
        inner().setCol(c);
        grid->setColMaintainData(false);
    }
    host->clearPropertyChanges();
    grid->setSort(1);
    EXPECT_EQ(column(1), (std::vector<std::string>{"r0c1", "c", "a", "b"}));
    EXPECT_TRUE(changes().empty());
    // Refused, a late-bound value is not even looked at.
    EXPECT_EQ(errorOf([&] { ax::letProperty(*grid, "Sort", ax::Variant(3e9)); }), 0);

    grid->setMaintainData(false);
    inner().setRow(1);
    inner().setCol(1);
    grid->setSort(1);
    EXPECT_EQ(column(1), (std::vector<std::string>{"r0c1", "a", "b", "c"}));
    EXPECT_EQ(changesNamed("Sort"), 1u);
    EXPECT_EQ(errorOf([&] { grid->setSort(32768); }), ax::err::Overflow);
    EXPECT_EQ(errorOf([&] { ax::letProperty(*grid, "Sort", ax::Variant(3e9)); }), ax::err::Overflow);
}

}  // namespace
}  // namespace vantrel::test
