// The edit engine with the text and masked editors, driven as a user drives them.
#include "platform/automation/errors.h"
#include "tests/grid/editing/editing_host.h"

namespace edittest {
namespace {

using Strings = std::vector<std::string>;

TEST_F(EditingTest, TypingOnACellOpensTheTextEditorOverItAndWritesEveryKeystroke) {
    useColumn(2, vantrel::TextBox, 3);
    grid->setTextMatrix(3, 2, "hello");
    bool openWhenHeard = false;
    events.onKeyPress = [&](int16_t&) { openWhenHeard = child("TxtBox")->Visible(); };
    events.clear();
    typeOnGrid('a');
    events.onKeyPress = nullptr;

    auto box = childAs<ax::TextBox>("TxtBox");
    EXPECT_EQ(visibleEditors(), Strings{"TxtBox"});
    EXPECT_EQ(host->focused(), box.get());
    EXPECT_EQ(box->Top(), inner().Top() + float(inner().CellTop()));
    EXPECT_EQ(box->Left(), inner().Left() + float(inner().CellLeft()));
    EXPECT_EQ(box->Width(), float(inner().CellWidth()));
    EXPECT_EQ(box->Height(), float(inner().CellHeight()));
    // The key opened the editor but is not typed into it: the whole text is selected.
    EXPECT_EQ(box->Text(), "hello");
    EXPECT_EQ(box->SelStart(), 0);
    EXPECT_EQ(box->SelLength(), 5);
    EXPECT_EQ(grid->TextMatrix(3, 2), "hello");
    // The host hears the key once, after the editor opened; the key's release reaches the editor.
    EXPECT_EQ(events.heard, (Strings{"KeyDown(65,0)", "KeyPress(97)", "KeyUp(65,0)"}));
    EXPECT_TRUE(openWhenHeard);

    host->typeText("x");
    EXPECT_EQ(grid->TextMatrix(3, 2), "x");
    host->typeText("yz");
    EXPECT_EQ(grid->TextMatrix(3, 2), "xyz");
    EXPECT_EQ(events.count("KeyPress(121)"), 1);
    EXPECT_EQ(events.count("KeyDown(89,0)"), 1);
    EXPECT_EQ(events.count("KeyUp(89,0)"), 1);

    pressEnter();
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(grid->TextMatrix(3, 2), "xyz");
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(host->focused(), &inner());

    // Many changes, then Esc: the text the cell had when this edit opened comes back.
    typeOnGrid('b');
    host->typeText("123");
    host->typeKey(ax::key::Back);
    EXPECT_EQ(grid->TextMatrix(3, 2), "12");
    pressEscape();
    EXPECT_EQ(grid->TextMatrix(3, 2), "xyz");
    EXPECT_TRUE(visibleEditors().empty());
}

TEST_F(EditingTest, OnlyCharacterKeysAndMouseButtonsOnAnEditableCellOpenAnEditor) {
    useColumn(1, vantrel::TextBox);
    host->setFocus(&inner());
    host->typeKey(ax::key::Escape);
    host->typeKey(ax::key::Right);
    host->typeKey(ax::key::Delete);
    EXPECT_TRUE(visibleEditors().empty());

    for (int16_t k : {ax::key::Return, ax::key::Back, ax::key::Space}) {
        grid->setCol(1);
        host->setFocus(&inner());
        host->typeKey(k);
        EXPECT_EQ(visibleEditors(), Strings{"TxtBox"}) << "key " << k;
        pressEscape();
    }
    clickCurrentCell();
    EXPECT_EQ(visibleEditors(), Strings{"TxtBox"});
    pressEscape();

    grid->setColLocked(true);
    typeOnGrid('a');
    clickCurrentCell();
    EXPECT_TRUE(visibleEditors().empty());

    useColumn(2, vantrel::None);
    typeOnGrid('a');
    EXPECT_TRUE(visibleEditors().empty());

    // A fixed current cell (the inner grid allows it, the control's Row does not) opens nothing.
    useColumn(3, vantrel::TextBox);
    inner().setRow(0);
    typeOnGrid('a');
    EXPECT_TRUE(visibleEditors().empty());
}

TEST_F(EditingTest, TheHostsKeyPressDecidesWhatTheTextEditorDoesWithTheKey) {
    useColumn(1, vantrel::TextBox);
    grid->setTextMatrix(1, 1, "start");
    events.onKeyPress = [](int16_t& k) {
        if (k == 13) k = 0;     // Enter kept from closing the editor
        if (k == 'q') k = 'Q';  // the changed key is the one typed
        if (k == '!') k = 27;   // and a key turned into Esc cancels
    };
    typeOnGrid('a');
    host->typeText("q");
    EXPECT_EQ(grid->TextMatrix(1, 1), "Q");
    pressEnter();
    EXPECT_EQ(visibleEditors(), Strings{"TxtBox"});
    host->typeText("!");
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(grid->TextMatrix(1, 1), "start");
}

TEST_F(EditingTest, TheEditorWidthFollowsTheColumnFloorAndTheLengthLimit) {
    useColumn(2, vantrel::TextBox);
    const float cell = float(inner().CellWidth());
    grid->setColEditWidthMin(int16_t(cell + 500));
    grid->setColTextMaxLength(5);
    typeOnGrid('a');
    auto box = childAs<ax::TextBox>("TxtBox");
    EXPECT_EQ(box->Width(), cell + 500);
    host->typeText("abcdefgh");
    EXPECT_EQ(grid->TextMatrix(1, 2), "abcde");
    pressEnter();

    grid->setColEditWidthMin(int16_t(cell - 100));
    grid->setColTextMaxLength(0);
    typeOnGrid('a');
    EXPECT_EQ(box->Width(), cell);
    host->typeText(std::string(80, 'z'));
    EXPECT_EQ(grid->TextMatrix(1, 2), std::string(80, 'z'));
}

TEST_F(EditingTest, ScrollingFocusLossAndShowCloseTheEditorKeepingWhatWasTyped) {
    grid->setRows(40);
    useColumn(1, vantrel::TextBox, 2);
    typeOnGrid('a');
    host->typeText("kept");
    events.clear();
    inner().setTopRow(10);
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(grid->TextMatrix(2, 1), "kept");
    EXPECT_EQ(host->focused(), &inner());
    EXPECT_EQ(events.heard, Strings{"Scroll"});

    // Clicking another cell: the open editor closes on its focus loss, the click opens a new one there.
    useColumn(1, vantrel::TextBox, 12);
    typeOnGrid('a');
    host->typeText("first");
    grid->setRow(13);
    clickCurrentCell();
    EXPECT_EQ(grid->TextMatrix(12, 1), "first");
    EXPECT_EQ(visibleEditors(), Strings{"TxtBox"});
    EXPECT_EQ(childAs<ax::TextBox>("TxtBox")->Top(), inner().Top() + float(inner().CellTop()));
    host->typeText("second");
    EXPECT_EQ(grid->TextMatrix(13, 1), "second");
    EXPECT_EQ(grid->TextMatrix(12, 1), "first");

    host->hide(*grid);
    host->show(*grid);
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(grid->TextMatrix(13, 1), "second");

    // Tabbing away: the form moves the focus on to the inner grid; the editor never sees the key.
    typeOnGrid('a');
    host->typeText("third");
    events.clear();
    host->typeKey(ax::key::Tab);
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(host->focused(), &inner());
    EXPECT_EQ(grid->TextMatrix(13, 1), "third");
    EXPECT_TRUE(events.heard.empty());

    // A disabled grid takes no click: no editor, no events, no focus.
    grid->setEnabled(false);
    EXPECT_EQ(host->focused(), nullptr);
    host->click(inner(), float(inner().CellLeft() + 20), float(inner().CellTop() + 20));
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_TRUE(events.heard.empty());
    EXPECT_EQ(host->focused(), nullptr);
    grid->setEnabled(true);
    clickCurrentCell();
    EXPECT_EQ(visibleEditors(), Strings{"TxtBox"});
}

TEST_F(EditingTest, TheEditorTakesTheCellsLookAndTheColumnsPointer) {
    useColumn(1, vantrel::TextBox, 2);
    inner().setCellBackColor(0x0000FF);
    inner().setCellFontName("Courier New");
    inner().setCellFontBold(true);
    inner().setCellFontItalic(true);
    inner().setRightToLeft(true);
    grid->setColMousePointerEditMode(3);
    typeOnGrid('a');
    auto box = childAs<ax::TextBox>("TxtBox");
    EXPECT_EQ(box->BackColor(), 0x0000FFu);
    EXPECT_EQ(box->ForeColor(), inner().ForeColor());  // the cell has no colour of its own
    EXPECT_EQ(box->Font()->Name(), "Courier New");
    EXPECT_TRUE(box->Font()->Bold());
    EXPECT_FALSE(box->Font()->Italic());  // italic is not among the attributes copied
    EXPECT_EQ(box->MousePointer(), 3);
    EXPECT_TRUE(box->RightToLeft());
}

TEST_F(EditingTest, AnEditorOverARowTheHostRemovesWritesIntoNoOtherCell) {
    useColumn(1, vantrel::TextBox, 5);
    grid->setTextMatrix(3, 1, "stays");
    typeOnGrid('a');
    grid->setRows(4);  // the edit row goes while its editor is open
    host->typeText("zz");
    pressEscape();
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(grid->TextMatrix(3, 1), "stays");
    for (int32_t r = 0; r < 4; ++r) EXPECT_NE(inner().TextMatrix(r, 1), "zz");
}

class MaskEditing : public EditingTest {
  protected:
    void SetUp() override {
        EditingTest::SetUp();
        useColumn(2, vantrel::MaskEDBox, 1);
        grid->setColMaskEditMask("##/##/####");
        grid->setTextMatrix(1, 2, "01/02/2003");
        box = childAs<ax::MaskEdBox>("MaskEdit");
    }
    std::shared_ptr<ax::MaskEdBox> box;
};

TEST_F(MaskEditing, OnlyACompleteOrEmptyEntryEndsTheEditWithEnter) {
    ASSERT_EQ(grid->TextMatrix(1, 2), "01/02/2003");
    events.clear();
    typeOnGrid('a');
    EXPECT_EQ(visibleEditors(), Strings{"MaskEdit"});
    EXPECT_EQ(box->Text(), "01/02/2003");
    // The grid reports the opening key; the masked editor reports no letters, nor any key release.
    EXPECT_EQ(events.heard, (Strings{"KeyDown(65,0)", "KeyPress(97)"}));

    events.clear();
    host->typeText("12");
    EXPECT_EQ(grid->TextMatrix(1, 2), "12/__/____");
    EXPECT_TRUE(events.heard.empty());

    pressEnter();  // partly filled: the cell gets its start text back, the entry stays open
    EXPECT_EQ(events.heard, (Strings{"KeyDown(13,0)", "KeyPress(13)"}));
    EXPECT_EQ(grid->TextMatrix(1, 2), "01/02/2003");
    EXPECT_EQ(visibleEditors(), Strings{"MaskEdit"});
    EXPECT_EQ(box->Text(), "12/__/____");

    host->typeText("345678");
    EXPECT_EQ(grid->TextMatrix(1, 2), "12/34/5678");
    pressEnter();
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(grid->TextMatrix(1, 2), "12/34/5678");

    // Every digit cleared: Enter empties the cell and closes.
    typeOnGrid('a');
    host->typeKey(ax::key::Back);
    EXPECT_EQ(box->ClipText(), "");
    pressEnter();
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(grid->TextMatrix(1, 2), "");
}

TEST_F(MaskEditing, LeavingOrCancellingNeverKeepsAPartialEntry) {
    typeOnGrid('a');
    host->typeText("99");
    host->setFocus(&inner());  // the user clicks elsewhere
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(grid->TextMatrix(1, 2), "01/02/2003");

    // Esc after emptying the entry still restores the start text (the hiding's focus loss decides nothing).
    typeOnGrid('a');
    host->typeKey(ax::key::Back);
    EXPECT_EQ(grid->TextMatrix(1, 2), "__/__/____");
    events.clear();
    pressEscape();  // (the key's release then reaches the inner grid, which has the focus again)
    EXPECT_EQ(events.heard, (Strings{"KeyDown(27,0)", "KeyPress(27)", "KeyUp(27,0)"}));
    EXPECT_EQ(grid->TextMatrix(1, 2), "01/02/2003");

    // An emptied entry left by a click empties the cell.
    typeOnGrid('a');
    host->typeKey(ax::key::Back);
    host->setFocus(&inner());
    EXPECT_EQ(grid->TextMatrix(1, 2), "");

    // Tabbing away from a half-filled entry is leaving it too.
    typeOnGrid('a');
    host->typeText("99");
    host->typeKey(ax::key::Tab);
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(grid->TextMatrix(1, 2), "");
}

TEST_F(MaskEditing, TheBoxGetsItsLengthAndHeightFloors) {
    grid->setColTextMaxLength(0);
    inner().setCellFontSize(20);
    typeOnGrid('a');
    EXPECT_EQ(box->MaxLength(), 64);
    EXPECT_GE(box->Height(), 600.f);
    EXPECT_EQ(box->Height(), std::max(float(inner().CellHeight()), inner().CellFontSize() * 30));
    pressEscape();
    grid->setColTextMaxLength(100);
    typeOnGrid('a');
    EXPECT_EQ(box->MaxLength(), 64);
    pressEscape();
    grid->setColTextMaxLength(12);
    typeOnGrid('a');
    EXPECT_EQ(box->MaxLength(), 12);
}

}  // namespace
}  // namespace edittest
