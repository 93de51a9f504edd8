// Cell text as a host writes and reads it: each editor kind's rule, fixed cells, check-box cells and
// the notifications that tell the host a cell changed.
#include "platform/controls/image.h"
#include "tests/grid/frame/grid_host.h"

namespace vantrel::test {
namespace {

using CellTextTest = GridTest;

TEST_F(CellTextTest, TextBoxColumnsCutToTheirLimitAndFixedCellsTakeAnyText) {
    fill(3, 3);
    atColumn(1);
    grid->setColTextMaxLength(3);
    host->clearPropertyChanges();
    grid->setTextMatrix(1, 1, "abcdef");
    EXPECT_EQ(grid->TextMatrix(1, 1), "abc");
    EXPECT_EQ(changesNamed("TextMatrix"), 1u);
    // Characters, not bytes, are counted.
    grid->setTextMatrix(2, 1, "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");
    EXPECT_EQ(grid->TextMatrix(2, 1), "\xC3\xA9\xC3\xA9\xC3\xA9");

    atColumn(2);
    grid->setColTextMaxLength(0);
    grid->setTextMatrix(1, 2, std::string(300, 'x'));
    EXPECT_EQ(grid->TextMatrix(1, 2), std::string(300, 'x'));

    // A fixed cell keeps the whole text whatever the column's kind.
    grid->setTextMatrix(0, 1, "a long heading");
    EXPECT_EQ(grid->TextMatrix(0, 1), "a long heading");
    grid->setColInputStyle(ZelPicker);
    grid->setTextMatrix(0, 2, "not a number");
    EXPECT_EQ(grid->TextMatrix(0, 2), "not a number");

    // Out of range: the empty text, nothing written, nothing raised.
    host->clearPropertyChanges();
    EXPECT_EQ(grid->TextMatrix(grid->Rows(), 0), "");
    EXPECT_EQ(grid->TextMatrix(0, -1), "");
    grid->setTextMatrix(3, 1, "x");
    grid->setTextMatrix(-1, 1, "x");
    EXPECT_TRUE(changes().empty());
}

TEST_F(CellTextTest, NumberColumnsTakeWholeNumbersWithinTheirLimits) {
    fill(3, 2);
    atColumn(1);
    grid->setColInputStyle(ZelPicker);
    grid->setColZelPickerMin(0);
    grid->setColZelPickerMax(100);
    host->clearPropertyChanges();
    grid->setTextMatrix(1, 1, "12.0");
    EXPECT_EQ(grid->TextMatrix(1, 1), "12");
    for (const char* refused : {"12.5", "200", "x", "", "-3"}) {
        grid->setTextMatrix(1, 1, refused);
        EXPECT_EQ(grid->TextMatrix(1, 1), "12") << refused;
    }
    EXPECT_EQ(changesNamed("TextMatrix"), 1u);
    grid->setTextMatrix(1, 1, "100");
    EXPECT_EQ(grid->TextMatrix(1, 1), "100");
}

TEST_F(CellTextTest, CheckBoxCellsHoldThePictureAndReadAsOneOrZero) {
    fill(4, 3);
    atColumn(2);
    grid->setColInputStyle(CheckBox);
    inner().setRow(3);
    inner().setCol(1);
    host->clearPropertyChanges();

    grid->setTextMatrix(1, 2, "1");
    EXPECT_EQ(grid->TextMatrix(1, 2), "1");
    EXPECT_EQ(grid->TextMatrix(2, 2), "0");
    EXPECT_EQ(inner().TextMatrix(1, 2), "");  // the cell itself holds no text
    // The current cell did not move, and painting is back on.
    EXPECT_EQ(inner().Row(), 3);
    EXPECT_EQ(inner().Col(), 1);
    EXPECT_TRUE(inner().Redraw());

    // The picture is the one ImgChecked holds, centred.
    inner().setRow(1);
    inner().setCol(2);
    auto checked = std::dynamic_pointer_cast<ax::Image>(host->child(*grid, "ImgChecked"));
    EXPECT_EQ(inner().CellPicture()->Handle(), checked->Picture()->Handle());
    EXPECT_EQ(inner().CellPictureAlignment(), ax::flex::AlignCenterCenter);
    EXPECT_EQ(grid->Text(), "1");

    grid->setTextMatrix(1, 2, "yes");
    EXPECT_EQ(grid->TextMatrix(1, 2), "1");
    grid->setText("0");
    EXPECT_EQ(grid->Text(), "0");
    EXPECT_EQ(grid->TextMatrix(1, 2), "0");
    EXPECT_EQ(changesNamed("TextMatrix"), 1u);
    EXPECT_EQ(changesNamed("Text"), 1u);

    // A heading of a check-box column reads "0" through the picture rule; its text stays its own.
    grid->setTextMatrix(0, 2, "Done");
    EXPECT_EQ(inner().TextMatrix(0, 2), "Done");
    EXPECT_EQ(grid->TextMatrix(0, 2), "0");
}

TEST_F(CellTextTest, ListColumnsWithoutTheTextInTheirListRefuseIt) {
    fill(3, 2);
    atColumn(1);
    grid->setColInputStyle(ComboDropDown);
    host->clearPropertyChanges();
    grid->setTextMatrix(1, 1, "abc");
    EXPECT_EQ(grid->TextMatrix(1, 1), "");
    EXPECT_EQ(changesNamed("TextMatrix"), 0u);

    // An editable list takes any text, cut to the limit.
    grid->setColInputStyle(ComboBox);
    grid->setColTextMaxLength(2);
    grid->setTextMatrix(1, 1, "abc");
    EXPECT_EQ(grid->TextMatrix(1, 1), "ab");
    grid->setColInputStyle(None);
    grid->setTextMatrix(1, 1, "anything at all");
    EXPECT_EQ(grid->TextMatrix(1, 1), "anything at all");
    // A kind outside the known ones refuses every text.
    grid->setColInputStyle(42);
    grid->setTextMatrix(1, 1, "new");
    EXPECT_EQ(grid->TextMatrix(1, 1), "anything at all");
}

TEST_F(CellTextTest, MaskedColumnsAskTheMaskedEditorWhetherTheTextFits) {
    fill(3, 2);
    atColumn(1);
    grid->setColInputStyle(MaskEDBox);
    grid->setColMaskEditMask("##-##");
    host->clearPropertyChanges();
    grid->setTextMatrix(1, 1, "12-34");
    EXPECT_EQ(grid->TextMatrix(1, 1), "12-34");
    grid->setTextMatrix(1, 1, "ab-cd");
    EXPECT_EQ(grid->TextMatrix(1, 1), "12-34");
    EXPECT_EQ(changesNamed("TextMatrix"), 1u);
    grid->setTextMatrix(1, 1, "");
    EXPECT_EQ(grid->TextMatrix(1, 1), "");

    // Without a mask a text is cut to 64 characters, or to a smaller limit of the column.
    grid->setColMaskEditMask("");
    grid->setTextMatrix(2, 1, std::string(80, 'q'));
    EXPECT_EQ(grid->TextMatrix(2, 1), std::string(64, 'q'));
    grid->setColTextMaxLength(5);
    grid->setTextMatrix(2, 1, "abcdefgh");
    EXPECT_EQ(grid->TextMatrix(2, 1), "abcde");
}

TEST_F(CellTextTest, DateColumnsWriteDatesInTheirFormat) {
    fill(3, 2);
    atColumn(1);
    grid->setColInputStyle(DTPicker);
    grid->setColDTPickFormat(4);
    grid->setTextMatrix(1, 1, "12/25/2026");
    EXPECT_EQ(grid->TextMatrix(1, 1), "25/12/2026");
    grid->setTextMatrix(1, 1, "not a date");
    EXPECT_EQ(grid->TextMatrix(1, 1), "25/12/2026");
    // The column's range is not applied to written texts.
    grid->setColDTPickMaxDate(ax::toAutomationDate({2000, 1, 1}));
    grid->setTextMatrix(2, 1, "3/4/2030");
    EXPECT_EQ(grid->TextMatrix(2, 1), "04/03/2030");
    // A format code without a pattern gives the general date form.
    grid->setColDTPickFormat(0);
    grid->setTextMatrix(2, 1, "3/4/2030");
    EXPECT_EQ(grid->TextMatrix(2, 1), "3/4/2030");
}

TEST_F(CellTextTest, TextArrayBypassesTheRulesAndCurrentCellMembersAreRunTimeOnly) {
    fill(3, 3);
    atColumn(1);
    grid->setColInputStyle(ZelPicker);
    host->clearPropertyChanges();
    grid->setTextArray(1 * 3 + 1, "free text");
    EXPECT_EQ(grid->TextArray(4), "free text");
    EXPECT_EQ(grid->TextMatrix(1, 1), "free text");
    EXPECT_EQ(changesNamed("TextArray"), 1u);
    EXPECT_EQ(grid->TextArray(9), "");
    grid->setTextArray(9, "x");
    grid->setTextArray(-1, "x");
    EXPECT_EQ(changesNamed("TextArray"), 1u);

    host->setUserMode(false);
    EXPECT_EQ(errorOf([&] { grid->Text(); }), ax::err::RunTimeOnly);
    EXPECT_EQ(errorOf([&] { grid->setText("x"); }), ax::err::RunTimeOnly);
    EXPECT_EQ(errorOf([&] { grid->Row(); }), ax::err::RunTimeOnly);
    // Cell texts by position stay available in the designer.
    EXPECT_EQ(grid->TextMatrix(1, 1), "free text");
}

}  // namespace
}  // namespace vantrel::test
