// Text that enters an editor from the clipboard or an input method reaches the cell under the column's
// rule, as typed text does.
#include "tests/grid/editing/editing_host.h"

namespace edittest {
namespace {

using Strings = std::vector<std::string>;
using ax::shiftmask::Ctrl;
using ax::shiftmask::Shift;

TEST_F(EditingTest, PastedAndComposedTextObeysTheColumnsRule) {
    // Text: the length limit holds for a paste; the host hears the editing keys; undo and cut work.
    useColumn(1, vantrel::TextBox);
    grid->setColTextMaxLength(5);
    grid->setTextMatrix(1, 1, "ab");
    typeOnGrid('x');
    host->clipboard().setText("1234567");
    host->typeKey('V', Ctrl);
    EXPECT_EQ(grid->TextMatrix(1, 1), "12345");
    events.clear();
    host->typeKey('Z', Ctrl);
    EXPECT_EQ(grid->TextMatrix(1, 1), "ab");
    EXPECT_EQ(events.heard, (Strings{"KeyDown(90,2)", "KeyPress(26)", "KeyUp(90,2)"}));
    host->typeKey('A', Ctrl);
    host->typeKey('X', Ctrl);
    EXPECT_EQ(grid->TextMatrix(1, 1), "");
    EXPECT_EQ(host->clipboard().text(), "ab");
    host->commitText("日本");
    EXPECT_EQ(grid->TextMatrix(1, 1), "日本");
    pressEnter();
    EXPECT_EQ(grid->TextMatrix(1, 1), "日本");

    // Masked: a paste goes through the mask, even with other separators; a partial paste left by a
    // click gives the cell its start text back.
    useColumn(2, vantrel::MaskEDBox);
    grid->setColMaskEditMask("##/##/####");
    grid->setTextMatrix(1, 2, "01/02/2003");
    typeOnGrid('a');
    host->clipboard().setText("12-31-2026");
    host->typeKey(ax::key::Insert, Shift);
    EXPECT_EQ(grid->TextMatrix(1, 2), "12/31/2026");
    pressEnter();
    EXPECT_TRUE(visibleEditors().empty());
    typeOnGrid('a');
    host->clipboard().setText("0405");
    host->typeKey('V', Ctrl);
    EXPECT_EQ(grid->TextMatrix(1, 2), "04/05/____");
    host->setFocus(&inner());
    EXPECT_EQ(grid->TextMatrix(1, 2), "12/31/2026");

    // Editable list: the pasted text is cut to the column's length on its way into the cell.
    useColumn(3, vantrel::ComboBox);
    grid->setColTextMaxLength(3);
    typeOnGrid('a');
    host->clipboard().setText("Yellow");
    host->typeKey('V', Ctrl);
    EXPECT_EQ(grid->TextMatrix(1, 3), "Yel");
}

TEST_F(EditingTest, TheNumberEditorValidatesAPasteAsItsTextRulesSay) {
    useColumn(3, vantrel::ZelPicker);
    grid->setColZelPickerMin(0);
    grid->setColZelPickerMax(100);
    grid->setTextMatrix(1, 3, "7");
    typeOnGrid('a');
    host->clipboard().setText("42");
    host->typeKey('V', Ctrl);  // the spin field's key filter discards Ctrl characters
    EXPECT_EQ(grid->TextMatrix(1, 3), "7");
    host->typeKey(ax::key::Insert, Shift);  // the field's whole text is selected when it gets the focus
    EXPECT_EQ(grid->TextMatrix(1, 3), "42");
    host->typeText("5");  // 425 is beyond Max: the text before the key comes back
    EXPECT_EQ(grid->TextMatrix(1, 3), "42");
    // A pasted text that is no number, or lies beyond the bounds, is replaced at once.
    for (const char* pasted : {"x1", "300"}) {
        host->typeKey(ax::key::Home);
        host->typeKey(ax::key::End, Shift);
        host->clipboard().setText(pasted);
        host->typeKey(ax::key::Insert, Shift);
        EXPECT_EQ(grid->TextMatrix(1, 3), "42") << pasted;
    }
    pressEnter();
    EXPECT_EQ(grid->TextMatrix(1, 3), "42");
}

}  // namespace
}  // namespace edittest
