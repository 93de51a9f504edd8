// Existing cells rewritten when a column changes kind or limits, and new rows starting in the kind's
// empty state.
#include "tests/grid/frame/grid_host.h"

namespace vantrel::test {
namespace {

using ConversionTest = GridTest;

TEST_F(ConversionTest, NumberColumnsKeepNumbersInRangeAndFillTheRestWithTheInitialNumber) {
    fill(6, 2);
    grid->setTextMatrix(1, 1, "12.7");
    grid->setTextMatrix(2, 1, "");
    grid->setTextMatrix(3, 1, "abc");
    grid->setTextMatrix(4, 1, "-40000");
    grid->setTextMatrix(5, 1, "32767");
    atColumn(1);
    grid->setColInputStyle(ZelPicker);
    // The heading is fixed and stays; a fraction within the range is not removed.
    EXPECT_EQ(column(1), (std::vector<std::string>{"r0c1", "12.7", "0", "0", "0", "32767"}));

    // Narrowing the range converts again, with the initial number pulled into the range.
    grid->setColZelPickerMin(13);
    EXPECT_EQ(column(1), (std::vector<std::string>{"r0c1", "13", "13", "13", "13", "32767"}));
    grid->setColZelPickerMax(20);
    EXPECT_EQ(column(1), (std::vector<std::string>{"r0c1", "13", "13", "13", "13", "13"}));
    grid->setColZelPickerInitValue(15);
    EXPECT_EQ(column(1), (std::vector<std::string>{"r0c1", "13", "13", "13", "13", "13"}));

    // New rows start with the initial number.
    grid->setRows(8);
    EXPECT_EQ(grid->TextMatrix(7, 1), "15");
}

TEST_F(ConversionTest, MaskedColumnsEmptyTheirCellsOnKindAndMaskChanges) {
    fill(4, 3);
    atColumn(1);
    grid->setColInputStyle(MaskEDBox);
    EXPECT_EQ(column(1), (std::vector<std::string>{"r0c1", "", "", ""}));
    grid->setColMaskEditMask("###");
    grid->setTextMatrix(1, 1, "123");
    EXPECT_EQ(grid->TextMatrix(1, 1), "123");
    grid->setMaskEditMask("##");  // the grid-wide mask reaches every masked column
    EXPECT_EQ(grid->TextMatrix(1, 1), "");
    // Other kinds keep their cells when the mask changes.
    EXPECT_EQ(grid->TextMatrix(1, 2), "r1c2");
}

TEST_F(ConversionTest, ListColumnsWithoutItemsEmptyEveryCellAndTextColumnsCutToTheirLimit) {
    fill(3, 3);
    atColumn(1);
    grid->setColInputStyle(ComboDropDown);
    EXPECT_EQ(column(1), (std::vector<std::string>{"r0c1", "", ""}));

    // A text column whose limit shrinks keeps its cells; the cut happens when the kind is applied.
    atColumn(2);
    grid->setColInputStyle(None);
    grid->setColTextMaxLength(2);
    EXPECT_EQ(grid->TextMatrix(1, 2), "r1c2");
    grid->ConvertColumnCells(2, 1, 2, TextBox);
    EXPECT_EQ(column(2), (std::vector<std::string>{"r0c2", "r1", "r2"}));
}

TEST_F(ConversionTest, DateColumnsKeepDatesInRangeRewrittenInTheirFormat) {
    fill(5, 2);
    grid->setTextMatrix(1, 1, "12/25/2026 10:30 PM");
    grid->setTextMatrix(2, 1, "1/2/1500");  // before the earliest date
    grid->setTextMatrix(3, 1, "soon");
    grid->setTextMatrix(4, 1, "7 Dec 2026");
    atColumn(1);
    grid->setColInputStyle(DTPicker);
    EXPECT_EQ(column(1), (std::vector<std::string>{"r0c1", "12/25/2026", "", "", "12/7/2026"}));

    grid->setColDTPickFormat(5);
    EXPECT_EQ(column(1), (std::vector<std::string>{"r0c1", "25-Dec-2026", "", "", "07-Dec-2026"}));
    grid->setColDTPickMaxDate(ax::toAutomationDate({2026, 12, 10}));
    EXPECT_EQ(column(1), (std::vector<std::string>{"r0c1", "", "", "", "07-Dec-2026"}));
}

TEST_F(ConversionTest, CheckBoxColumnsLoseTheirTextsAndPicturesAndTheCurrentCellStays) {
    fill(4, 3);
    atColumn(2);
    grid->setColInputStyle(CheckBox);
    grid->setTextMatrix(1, 2, "1");
    grid->setTextMatrix(3, 2, "1");
    grid->setColInputStyle(TextBox);  // no conversion: the pictures stay
    inner().setRow(1);
    grid->setColInputStyle(CheckBox);  // converts rows 1..3, visiting each
    EXPECT_EQ(column(2), (std::vector<std::string>{"0", "0", "0", "0"}));
    EXPECT_EQ(inner().TextMatrix(1, 2), "");
    EXPECT_EQ(inner().Row(), 1);
    EXPECT_EQ(inner().Col(), 2);
    EXPECT_TRUE(inner().Redraw());

    // Rows appended later start unchecked and empty.
    grid->AddItem("a\tb\tc");
    EXPECT_EQ(inner().TextMatrix(4, 2), "");
    EXPECT_EQ(grid->TextMatrix(4, 2), "0");
}

}  // namespace
}  // namespace vantrel::test
