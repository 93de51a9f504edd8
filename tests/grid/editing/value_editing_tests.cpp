// The check-box, date and number editors.
#include "platform/automation/convert.h"
#include "platform/host/host_site.h"
#include "tests/grid/editing/editing_host.h"

namespace edittest {
namespace {

using Strings = std::vector<std::string>;

TEST_F(EditingTest, CheckBoxEditorTogglesTheCellsPictureAndEscPutsItBack) {
    useColumn(1, vantrel::CheckBox);
    grid->setTextMatrix(1, 1, "1");
    events.clear();
    typeOnGrid('a');
    auto box = childAs<ax::CheckBox>("ChckBox");
    EXPECT_EQ(visibleEditors(), Strings{"ChckBox"});
    EXPECT_EQ(box->Value(), 1);
    // The box was clear before: loading it clicks, before the host hears the opening key.
    EXPECT_EQ(events.heard, (Strings{"KeyDown(65,0)", "Click", "KeyPress(97)"}));
    EXPECT_EQ(box->Top(), inner().Top() + float(inner().CellTop()));
    EXPECT_EQ(box->Left(),
              inner().Left() + float(inner().CellLeft()) + float(inner().CellWidth()) / 2 - box->Width() / 2);
    EXPECT_EQ(box->Height(), float(inner().CellHeight()));

    events.clear();
    host->typeKey(ax::key::Space);
    EXPECT_EQ(box->Value(), 0);
    EXPECT_EQ(grid->TextMatrix(1, 1), "0");
    EXPECT_FALSE(ax::hasPicture(inner().CellPicture()));
    EXPECT_EQ(events.heard, Strings{"Click"});  // the space bar itself is not reported

    events.clear();
    pressEscape();
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(grid->TextMatrix(1, 1), "1");
    EXPECT_TRUE(ax::hasPicture(inner().CellPicture()));
    EXPECT_EQ(events.count("KeyDown(27,0)"), 1);
    EXPECT_EQ(events.count("KeyPress(27)"), 1);

    // An unchecked cell: the box clears itself (a click), a mouse click ticks it, Enter keeps it.
    grid->setRow(2);
    events.clear();
    clickCurrentCell();
    EXPECT_EQ(box->Value(), 0);
    EXPECT_EQ(events.count("Click"), 2);  // the box's, then the inner grid's own
    host->click(*box, 10, 10);
    EXPECT_EQ(grid->TextMatrix(2, 1), "1");
    pressEnter();
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(grid->TextMatrix(2, 1), "1");
    EXPECT_EQ(inner().CellPictureAlignment(), 4);
}

class DateEditing : public EditingTest {
  protected:
    void SetUp() override {
        EditingTest::SetUp();
        useColumn(2, vantrel::DTPicker);
        grid->setColDTPickFormat(5);
        picker = childAs<ax::HeadlessDTPicker>("DTPick");
    }
    std::shared_ptr<ax::HeadlessDTPicker> picker;
};

TEST_F(DateEditing, OpeningRewritesTheCellInTheColumnsPatternAndEscRestoresIt) {
    inner().setTextMatrix(1, 2, "12/25/2026");  // written in another form, past the cell-text rule
    inner().setCellFontSize(10);
    typeOnGrid('a');
    EXPECT_EQ(visibleEditors(), Strings{"DTPick"});
    EXPECT_EQ(grid->TextMatrix(1, 2), "25-Dec-2026");
    EXPECT_EQ(picker->Format(), 1);
    EXPECT_EQ(picker->Width(), std::max({float(inner().CellWidth()), 1505.f, 2.f}));
    EXPECT_EQ(picker->Height(), std::max(float(inner().CellHeight()), 350.f));

    host->typeKey(ax::key::Up);  // the focused field (the month, first in the short date) steps up
    EXPECT_EQ(grid->TextMatrix(1, 2), "25-Jan-2026");
    events.clear();
    pressEscape();
    EXPECT_EQ(grid->TextMatrix(1, 2), "12/25/2026");
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(events.heard, (Strings{"KeyDown(27,0)", "KeyPress(27)", "KeyUp(27,0)"}));

    typeOnGrid('a');
    host->typeKey(ax::key::Up);
    pressEnter();
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(grid->TextMatrix(1, 2), "25-Jan-2026");

    // The open date editor does not hold off a key the inner grid still receives: the new edit ends
    // it, even on a column with no editor, so it never writes into a cell it no longer edits.
    typeOnGrid('a');
    grid->setCol(1);
    grid->setColInputStyle(vantrel::None);
    int16_t key = 'b';
    inner().keyPress(key);
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(grid->TextMatrix(1, 1), "");
    EXPECT_EQ(grid->TextMatrix(1, 2), "25-Jan-2026");
}

TEST_F(DateEditing, AnEmptyCellGetsTodayAndClearingThePickersBoxEmptiesIt) {
    grid->setRow(3);
    typeOnGrid('a');
    EXPECT_TRUE(picker->CheckBox());
    EXPECT_EQ(grid->TextMatrix(3, 2), ax::formatDate(ax::today(), "dd-mmm-yyyy"));
    picker->clickCheckBox();
    EXPECT_EQ(grid->TextMatrix(3, 2), "");
    pressEnter();
    EXPECT_EQ(grid->TextMatrix(3, 2), "");

    // The time codes open the picker in time format; a date outside the column's range opens at
    // the nearest end of it, and Esc still restores the text.
    grid->setColDTPickFormat(9);
    grid->setColDTPickMaxDate(ax::toAutomationDate({2020, 12, 31}));
    inner().setTextMatrix(3, 2, "6/1/2024");
    typeOnGrid('a');
    EXPECT_EQ(picker->Format(), 2);
    EXPECT_EQ(picker->Value().toDate().value, ax::toAutomationDate({2020, 12, 31}).value);
    EXPECT_EQ(visibleEditors(), Strings{"DTPick"});
    pressEscape();
    EXPECT_EQ(grid->TextMatrix(3, 2), "6/1/2024");
}

// A day-first column under a month-first locale: what the grid writes must read back as the same
// date wherever it is read again, or every opening, range change and round trip would swap the day
// and the month.
TEST_F(DateEditing, ADayFirstColumnKeepsItsDatesWhenItsOwnTextsAreReadAgain) {
    grid->setColDTPickFormat(1);             // dd/mm/yy
    grid->setTextMatrix(1, 2, "12/5/2020");  // the host writes the locale's way: 5 December
    EXPECT_EQ(grid->TextMatrix(1, 2), "05/12/20");
    grid->setTextMatrix(2, 2, "05/12/20");  // the column's own form: the same 5 December
    EXPECT_EQ(grid->TextMatrix(2, 2), "05/12/20");

    typeOnGrid('a');
    EXPECT_EQ(picker->Value().toDate().value, ax::toAutomationDate({2020, 12, 5}).value);
    EXPECT_EQ(grid->TextMatrix(1, 2), "05/12/20");
    pressEnter();
    typeOnGrid('a');
    pressEnter();
    EXPECT_EQ(grid->TextMatrix(1, 2), "05/12/20");

    // Changing the range converts the column's cells again; a transaction's roll-back writes them back.
    grid->setColDTPickMaxDate(ax::toAutomationDate({2030, 1, 1}));
    EXPECT_EQ(grid->TextMatrix(1, 2), "05/12/20");
    grid->BeginTrans();
    grid->setTextMatrix(1, 2, "1/1/2021");
    grid->RollBack();
    EXPECT_EQ(grid->TextMatrix(1, 2), "05/12/20");
    // A new format reads the cells in the format they were written in.
    grid->setColDTPickFormat(8);  // mm/dd/yyyy
    EXPECT_EQ(grid->TextMatrix(1, 2), "12/05/2020");
    grid->setDTPickFormat(4);  // grid-wide, back to day first: dd/mm/yyyy
    EXPECT_EQ(grid->TextMatrix(1, 2), "05/12/2020");
}

TEST_F(EditingTest, NumberEditorRoundsTheCellTextAndEnterGivesTheFocusBack) {
    useColumn(3, vantrel::ZelPicker);
    grid->setColZelPickerMin(-50);
    grid->setColZelPickerMax(50);
    grid->setColEditWidthMin(int16_t(inner().CellWidth() + 300));
    inner().setTextMatrix(1, 3, "12.5");
    typeOnGrid('a');
    auto zel = child("ZelPick");
    EXPECT_EQ(visibleEditors(), Strings{"ZelPick"});
    EXPECT_EQ(grid->TextMatrix(1, 3), "12");
    EXPECT_EQ(zel->Width(), float(inner().CellWidth()));  // no width floor for the number editor
    EXPECT_EQ(zel->Top(), inner().Top() + float(inner().CellTop()));
    EXPECT_NE(host->focused(), &inner());

    host->typeText("-7");
    EXPECT_EQ(grid->TextMatrix(1, 3), "-7");
    events.clear();
    pressEnter();
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(host->focused(), &inner());
    EXPECT_EQ(grid->TextMatrix(1, 3), "-7");
    EXPECT_EQ(events.count("KeyPress(13)"), 1);

    inner().setTextMatrix(1, 3, "13.5");
    typeOnGrid('a');
    EXPECT_EQ(grid->TextMatrix(1, 3), "14");
    host->typeText("9");
    EXPECT_EQ(grid->TextMatrix(1, 3), "9");
    pressEscape();
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(host->focused(), &inner());
    EXPECT_EQ(grid->TextMatrix(1, 3), "13.5");
}

TEST_F(EditingTest, NumberEditorSpunWithItsArrowsStillClosesOnEnterAndEsc) {
    useColumn(3, vantrel::ZelPicker);
    grid->setColZelPickerMin(0);
    grid->setColZelPickerMax(100);
    inner().setTextMatrix(1, 3, "5");
    // The arrows and the text field of the number editor, among the children of its own site.
    auto* extender = dynamic_cast<ax::hosting::ExtenderChild*>(child("ZelPick").get());
    ASSERT_TRUE(extender && extender->control());
    ax::Child& arrows = *host->child(*extender->control(), "FltScrollBar");
    ax::Child* field = host->child(*extender->control(), "Txt").get();
    auto spin = [&](bool up, int times) {
        for (int i = 0; i < times; ++i)
            host->click(arrows, up ? arrows.Width() - 10 : 10, arrows.Height() / 2);
    };

    typeOnGrid('a');
    spin(true, 2);
    EXPECT_EQ(grid->TextMatrix(1, 3), "7");
    EXPECT_EQ(host->focused(), field);
    events.clear();
    pressEnter();
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(host->focused(), &inner());
    EXPECT_EQ(grid->TextMatrix(1, 3), "7");
    EXPECT_EQ(events.count("KeyPress(13)"), 1);

    typeOnGrid('a');
    spin(false, 3);
    host->typeKey(ax::key::Up);  // the arrow keys in the field spin as the arrows do
    EXPECT_EQ(grid->TextMatrix(1, 3), "5");
    pressEscape();
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(host->focused(), &inner());
    EXPECT_EQ(grid->TextMatrix(1, 3), "7");
}

TEST_F(EditingTest, NumberEditorOpensOnATextItCannotTakeAtTheColumnsInitialNumber) {
    useColumn(3, vantrel::ZelPicker);
    grid->setColZelPickerMin(0);
    grid->setColZelPickerMax(10);
    grid->setColZelPickerInitValue(4);
    inner().setTextMatrix(1, 3, "abc");
    inner().setTextMatrix(2, 3, "99");
    typeOnGrid('a');
    EXPECT_EQ(visibleEditors(), Strings{"ZelPick"});
    EXPECT_EQ(grid->TextMatrix(1, 3), "4");
    pressEscape();
    EXPECT_EQ(grid->TextMatrix(1, 3), "abc");

    // A number beyond the column's range opens at the nearest bound; a previous edit's range
    // never narrows this column's.
    grid->setRow(2);
    typeOnGrid('a');
    EXPECT_EQ(grid->TextMatrix(2, 3), "10");
    pressEnter();
    useColumn(1, vantrel::ZelPicker);
    grid->setColZelPickerMin(20);
    grid->setColZelPickerMax(30);
    inner().setTextMatrix(1, 1, "25");
    typeOnGrid('a');
    EXPECT_EQ(grid->TextMatrix(1, 1), "25");
    host->typeText("5");  // below this column's minimum: refused, so the minimum is 20
    EXPECT_EQ(grid->TextMatrix(1, 1), "25");
    EXPECT_EQ(inner().TextMatrix(2, 3), "10");  // the other number cell is left alone
}

}  // namespace
}  // namespace edittest
