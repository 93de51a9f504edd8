// Maintained strings: switched on per column or for all, read and written by the host, and kept
// aligned with the rows through every row operation.
#include "tests/grid/frame/grid_host.h"

namespace vantrel::test {
namespace {

using MaintainedTest = GridTest;

TEST_F(MaintainedTest, StringsFollowRemovalInsertionAndClearing) {
    fill(5, 2);
    atColumn(1);
    grid->setColMaintainData(true);
    const std::vector<std::string> letters{"A", "B", "C", "D", "E"};
    for (int32_t r = 0; r < 5; ++r) grid->setDataMatrix(r, 1, letters[size_t(r)]);
    auto strings = [&] {
        std::vector<std::string> out;
        for (int32_t r = 0; r < grid->Rows(); ++r) out.push_back(grid->DataMatrix(r, 1));
        return out;
    };

    grid->RemoveItem(3);
    EXPECT_EQ(strings(), (std::vector<std::string>{"A", "B", "C", "E"}));
    grid->AddItem("new", 1);
    EXPECT_EQ(strings(), (std::vector<std::string>{"A", "", "B", "C", "E"}));
    grid->AddItem("last");
    EXPECT_EQ(strings(), (std::vector<std::string>{"A", "", "B", "C", "E", ""}));
    // Removing the second-to-last row: the former last row keeps its string.
    grid->setDataMatrix(5, 1, "Z");
    grid->RemoveItem(4);
    EXPECT_EQ(strings(), (std::vector<std::string>{"A", "", "B", "C", "Z"}));

    // Shrinking keeps the first strings; growing adds empty ones.
    grid->setRows(3);
    grid->setRows(4);
    EXPECT_EQ(strings(), (std::vector<std::string>{"A", "", "B", ""}));

    // Moving rows does not move strings: they belong to the row position.
    grid->setRow(1);
    grid->setRowPosition(2, 3);
    EXPECT_EQ(strings(), (std::vector<std::string>{"A", "", "B", ""}));

    grid->Clear();
    EXPECT_EQ(strings(), (std::vector<std::string>{"", "", "", ""}));
    EXPECT_EQ(grid->Rows(), 4);
}

TEST_F(MaintainedTest, CellDataActsOnTheCurrentCellOfAMaintainingColumn) {
    fill(3, 3);
    grid->setRow(2);
    grid->setCol(2);
    host->clearPropertyChanges();
    grid->setCellData("ignored");
    EXPECT_EQ(grid->CellData(), "");
    EXPECT_TRUE(changes().empty());

    grid->setColMaintainData(true);
    grid->setCellData("key-42");
    EXPECT_EQ(grid->CellData(), "key-42");
    EXPECT_EQ(grid->DataMatrix(2, 2), "key-42");
    EXPECT_EQ((std::vector<std::string>{"ColMaintainData", "CellData"}), changes());

    // The displayed text is separate from the hidden string.
    EXPECT_EQ(grid->TextMatrix(2, 2), "r2c2");
}

TEST_F(MaintainedTest, SwitchesNotifyAsTheyShouldAndOffThenOnLosesTheStrings) {
    fill(3, 3);
    atColumn(1);
    host->clearPropertyChanges();
    grid->setColMaintainData(false);  // already off: no notification
    EXPECT_TRUE(changes().empty());
    grid->setColMaintainData(true);
    grid->setDataMatrix(1, 1, "x");
    grid->setColMaintainData(false);
    grid->setColMaintainData(true);
    EXPECT_EQ(grid->DataMatrix(1, 1), "");

    host->clearPropertyChanges();
    grid->setMaintainData(false);
    grid->setMaintainData(false);  // the grid-wide switch notifies even without a change
    EXPECT_EQ(changesNamed("MaintainData"), 2u);
    EXPECT_FALSE(grid->ColMaintainData());

    // The grid-wide switch reaches fixed columns too.
    grid->setMaintainData(true);
    inner().setCol(0);
    EXPECT_TRUE(grid->ColMaintainData());
    grid->setDataMatrix(0, 0, "corner");
    EXPECT_EQ(grid->DataMatrix(0, 0), "corner");
}

TEST_F(MaintainedTest, NewColumnsDoNotMaintainAndIndicesAreChecked) {
    fill(3, 2);
    grid->setMaintainData(true);
    grid->setCols(4);
    EXPECT_TRUE(grid->MaintainData());
    grid->setDataMatrix(1, 3, "lost");
    EXPECT_EQ(grid->DataMatrix(1, 3), "");
    grid->setDataMatrix(1, 1, "kept");
    EXPECT_EQ(grid->DataMatrix(1, 1), "kept");

    // A column outside the settings array is error 9; a row outside the grid is the empty text.
    EXPECT_EQ(errorOf([&] { grid->DataMatrix(0, grid->Cols()); }), ax::err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { grid->setDataMatrix(0, -1, "x"); }), ax::err::SubscriptOutOfRange);
    EXPECT_EQ(grid->DataMatrix(grid->Rows(), 1), "");
    host->clearPropertyChanges();
    grid->setDataMatrix(grid->Rows(), 1, "x");
    EXPECT_TRUE(changes().empty());

    // No rows left: one empty slot stays, and row 0 is out of range.
    grid->setFixedRows(0);
    grid->setRows(0);
    EXPECT_EQ(grid->DataMatrix(0, 1), "");
    grid->setRows(2);
    EXPECT_EQ(grid->DataMatrix(0, 1), "");
    grid->setDataMatrix(1, 1, "again");
    EXPECT_EQ(grid->DataMatrix(1, 1), "again");
}

TEST_F(MaintainedTest, DesignTimeRefusesTheRunTimeMembersButNotTheSwitch) {
    host->setUserMode(false);
    EXPECT_EQ(errorOf([&] { grid->ColMaintainData(); }), ax::err::RunTimeOnly);
    EXPECT_EQ(errorOf([&] { grid->setColMaintainData(true); }), ax::err::RunTimeOnly);
    EXPECT_EQ(errorOf([&] { grid->CellData(); }), ax::err::RunTimeOnly);
    EXPECT_EQ(errorOf([&] { grid->setCellData("x"); }), ax::err::RunTimeOnly);
    EXPECT_EQ(errorOf([&] { grid->DataMatrix(0, 0); }), ax::err::RunTimeOnly);
    EXPECT_EQ(errorOf([&] { grid->setDataMatrix(0, 0, "x"); }), ax::err::RunTimeOnly);
    grid->setMaintainData(true);
    EXPECT_TRUE(grid->MaintainData());
    host->setUserMode(true);
    EXPECT_TRUE(grid->ColMaintainData());
}

}  // namespace
}  // namespace vantrel::test
