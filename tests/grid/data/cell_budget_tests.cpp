// The grid's maintained strings and its transaction shadow count against the inner grid's cell
// budget with the cells themselves: a few lines of form file cannot claim gigabytes, and a refusal
// never loses what the grid held. The inner grid here has a budget of 10,000 cells.
#include "platform/host/property_bag.h"
#include "tests/grid/frame/grid_host.h"

namespace vantrel::test {
namespace {

class SmallBudgetChildren : public ax::ChildFactory {
  public:
    ax::ChildPtr create(ax::ChildKind kind) override {
        if (kind == ax::ChildKind::FlexGrid) return std::make_shared<ax::HeadlessFlexGrid>(10000);
        return rest_.create(kind);
    }

  private:
    ax::HeadlessChildFactory rest_;
};

class CellBudgetTest : public ::testing::Test {
  protected:
    CellBudgetTest() {
        registerNumberEditor();
        host->setUserMode(true);
    }
    void place(ax::PropertyBag* bag = nullptr) { host->place(grid, 4800, 2400, bag); }
    int32_t columnsKeepingData() {
        int32_t n = 0;
        for (int32_t c = 0; c < grid->Cols(); ++c) n += grid->DataMatrix(0, c) == "kept";
        return n;
    }

    std::unique_ptr<ax::HeadlessHost> host = std::make_unique<ax::HeadlessHost>(std::make_shared<SmallBudgetChildren>());
    std::shared_ptr<Vantrel> grid = std::make_shared<Vantrel>();
};

// The shape of the four-line form file, scaled to the budget: the cells fit, the strings beside them
// do not. The load stops at MaintainData with the grid's load failure box.
TEST_F(CellBudgetTest, AFormFileWhoseMaintainedStringsWouldPassTheBudgetLoadsWithoutThem) {
    ax::MemoryPropertyBag bag;
    bag.put("Rows", int32_t(80));
    bag.put("Cols", int32_t(80));
    bag.put("MaintainData", true);
    place(&bag);
    EXPECT_EQ(grid->Rows(), 80);
    EXPECT_EQ(grid->Cols(), 80);
    EXPECT_FALSE(grid->MaintainData());
    for (int32_t c : {0, 79}) {
        grid->setDataMatrix(1, c, "lost");
        EXPECT_EQ(grid->DataMatrix(1, c), "");  // no column keeps strings
    }
    ASSERT_EQ(host->messageBoxes().size(), 1u);
    EXPECT_EQ(host->messageBoxes()[0].prompt, "380Invalid property value");
}

TEST_F(CellBudgetTest, MaintainedStringsFitOrAreRefusedAndRowsStopWhereTheyWouldNotFit) {
    place();
    grid->setCols(40);
    grid->setRows(100);
    grid->setMaintainData(true);  // 4,000 cells and 4,000 strings
    grid->setRows(125);
    grid->setRows(126);  // silently ignored, as the Rows let ignores every failure
    EXPECT_EQ(grid->Rows(), 125);
    grid->AddItem("one more");
    EXPECT_EQ(grid->Rows(), 125);
    grid->setDataMatrix(124, 39, "last");
    EXPECT_EQ(grid->DataMatrix(124, 39), "last");

    // Switched on for every column at once, it is refused whole: no column keeps strings.
    grid->setMaintainData(false);
    grid->setCols(60);
    grid->setFixedCols(0);
    EXPECT_EQ(errorOf([&] { grid->setMaintainData(true); }), ax::err::InvalidPropertyValue);
    EXPECT_FALSE(grid->MaintainData());
    // Column by column, until the strings would not fit (7,500 cells, 125 strings a column).
    for (int32_t c = 0; c < 60; ++c) {
        grid->setCol(c);
        grid->setColMaintainData(true);
        grid->setDataMatrix(0, c, "kept");
    }
    EXPECT_EQ(columnsKeepingData(), 20);
}

TEST_F(CellBudgetTest, TheTransactionShadowCountsAndAGridTooBigToCopyKeepsItsContents) {
    place();
    grid->setCols(60);
    grid->setRows(50);
    grid->setTextMatrix(5, 5, "before");
    grid->BeginTrans();  // 3,000 cells and a copy of them
    grid->setRows(120);  // 7,200 and the copy would pass the budget
    EXPECT_EQ(grid->Rows(), 50);
    grid->setTextMatrix(5, 5, "during");
    grid->RollBack();
    EXPECT_EQ(grid->TextMatrix(5, 5), "before");
    grid->setRows(110);  // the copy is gone
    EXPECT_EQ(grid->Rows(), 110);

    // 6,600 cells cannot be copied: the transaction opens without a copy, and rolling back keeps the
    // grid as it stands instead of cutting it to the copy's one row.
    grid->setTextMatrix(100, 59, "kept");
    EXPECT_FALSE(grid->SaveVNContentToShadow());
    grid->BeginTrans();
    EXPECT_TRUE(grid->IsInTransaction());
    grid->setTextMatrix(5, 5, "during");
    grid->RollBack();
    EXPECT_FALSE(grid->IsInTransaction());
    EXPECT_EQ(grid->Rows(), 110);
    EXPECT_EQ(grid->TextMatrix(100, 59), "kept");
    EXPECT_EQ(grid->TextMatrix(5, 5), "during");
}

}  // namespace
}  // namespace vantrel::test
