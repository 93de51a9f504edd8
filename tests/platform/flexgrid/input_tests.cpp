// The current cell moving by code, mouse and keys, the order of the notifications, and OLE drag and drop.
#include "grid_fixture.h"

using namespace fgtest;
using Log = std::vector<std::string>;

namespace {

void press(ax::InputTarget& t, int16_t keyCode, int16_t shift = 0) {
    int16_t code = keyCode, sh = shift;
    t.keyDown(code, sh);
    code = keyCode, sh = shift;
    t.keyUp(code, sh);
}

// Twips of the centre of a cell on the fixture's unscrolled grid.
float xOf(int32_t col) { return col * 960.0f + 480; }
float yOf(int32_t row) { return row * 240.0f + 120; }

}  // namespace

TEST_F(Grid, MovingTheCurrentCellRaisesLeaveEnterRowColChangeThenSelChange) {
    rec.attach(g);
    g.setRow(3);
    EXPECT_EQ(rec.log, (Log{"Leave@1,1", "Enter@3,1", "RowCol@3,1", "Sel@3,1"}));
    rec.log.clear();
    g.setRow(3);  // nothing moves
    EXPECT_TRUE(rec.log.empty());
    g.setRowSel(5);  // only the selection grows
    EXPECT_EQ(rec.log, (Log{"Sel@5,1"}));
    rec.log.clear();
    g.setCol(2);  // collapses the selection along the columns only
    EXPECT_EQ(g.RowSel(), 5);
    EXPECT_EQ(g.ColSel(), 2);
    g.setRow(3);
    EXPECT_EQ(g.RowSel(), 3);

    // A click: the cell becomes current before MouseDown is reported.
    rec.log.clear();
    g.mouseDown(1, 0, xOf(2), yOf(7));
    g.mouseUp(1, 0, xOf(2), yOf(7));
    g.click();
    EXPECT_EQ(rec.log, (Log{"Leave@3,2", "Enter@7,2", "RowCol@7,2", "Sel@7,2", "MouseDown@7,2", "MouseUp"}));

    // Shrinking the grid below the current cell moves it, with the same notifications.
    rec.log.clear();
    g.setRows(5);
    EXPECT_EQ(g.Row(), 4);
    EXPECT_EQ(rec.log.front(), "Leave@7,2");
}

TEST_F(Grid, MouseSelectsCellsRangesAndWholeColumns) {
    int clicks = 0, doubles = 0;
    g.onClick = [&] { ++clicks; };
    g.onDblClick = [&] { ++doubles; };
    g.setWidth(6000);  // every column shows
    rec.attach(g);
    g.mouseDown(1, 0, xOf(1), yOf(2));
    g.mouseMove(1, 0, xOf(2), yOf(4));
    g.mouseMove(1, 0, xOf(2), yOf(5));
    g.mouseUp(1, 0, xOf(2), yOf(5));
    g.click();
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(g.RowSel(), 5);
    EXPECT_EQ(g.ColSel(), 2);
    EXPECT_TRUE(g.isSelected(4, 2));
    EXPECT_FALSE(g.isSelected(6, 2));
    EXPECT_EQ(std::count(rec.log.begin(), rec.log.end(), "RowCol@2,1"), 1);
    EXPECT_EQ(clicks, 1);

    // Moving without the button pressed selects nothing.
    g.mouseMove(0, 0, xOf(3), yOf(8));
    EXPECT_EQ(g.RowSel(), 5);

    // Shift extends from the current cell.
    g.mouseDown(1, ax::shiftmask::Shift, xOf(3), yOf(3));
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.RowSel(), 3);
    EXPECT_EQ(g.ColSel(), 3);
    g.mouseUp(1, 0, xOf(3), yOf(3));

    // A heading selects its whole column; the corner selects everything.
    g.mouseDown(1, 0, xOf(2), yOf(0));
    g.mouseUp(1, 0, xOf(2), yOf(0));
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.RowSel(), 19);
    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(g.ColSel(), 2);
    g.mouseDown(1, 0, xOf(0), yOf(0));
    EXPECT_EQ(g.ColSel(), 5);
    g.mouseUp(1, 0, xOf(0), yOf(0));
    g.dblClick();
    EXPECT_EQ(doubles, 1);

    // Without big selections a heading press changes nothing.
    g.setRow(4);
    g.setAllowBigSelection(false);
    g.mouseDown(1, 0, xOf(2), yOf(0));
    EXPECT_EQ(g.Row(), 4);
    EXPECT_EQ(g.RowSel(), 4);
    EXPECT_EQ(g.MouseRow(), 0);
    EXPECT_EQ(g.MouseCol(), 2);

    // A disabled grid takes no input.
    g.setEnabled(false);
    g.mouseDown(1, 0, xOf(3), yOf(6));
    EXPECT_EQ(g.Row(), 4);
}

TEST_F(Grid, KeysMoveTheCurrentCellAndScrollItIntoView) {
    rec.attach(g);
    press(g, ax::key::Up);  // already on the first scrollable row: nothing happens
    press(g, ax::key::Left);
    EXPECT_EQ(rec.log, (Log{"KeyDown 38", "KeyUp 38", "KeyDown 37", "KeyUp 37"}));
    rec.log.clear();

    press(g, ax::key::Down);
    press(g, ax::key::Right);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(rec.log, (Log{"KeyDown 40", "Leave@1,1", "Enter@2,1", "RowCol@2,1", "Sel@2,1", "KeyUp 40",
                            "KeyDown 39", "Leave@2,1", "Enter@2,2", "RowCol@2,2", "Sel@2,2", "KeyUp 39"}));

    // Down past the last row shown scrolls by one.
    for (int i = 0; i < 7; ++i) press(g, ax::key::Down);
    EXPECT_EQ(g.Row(), 9);
    EXPECT_EQ(g.TopRow(), 1);
    rec.log.clear();
    press(g, ax::key::Down);
    EXPECT_EQ(g.Row(), 10);
    EXPECT_EQ(g.TopRow(), 2);
    EXPECT_TRUE(g.RowIsVisible(10));
    EXPECT_NE(std::find(rec.log.begin(), rec.log.end(), "Scroll@2,1"), rec.log.end());

    // Page Down moves by the nine rows a page shows, and stops at the last row.
    press(g, ax::key::PageDown);
    EXPECT_EQ(g.Row(), 19);
    EXPECT_EQ(g.TopRow(), 11);
    press(g, ax::key::PageUp);
    EXPECT_EQ(g.Row(), 10);
    EXPECT_EQ(g.TopRow(), 2);

    // End goes to the last column and scrolls it in; Ctrl+Home to the first scrollable cell.
    press(g, ax::key::End);
    EXPECT_EQ(g.Col(), 5);
    EXPECT_EQ(g.LeftCol(), 4);
    EXPECT_TRUE(g.ColIsVisible(5));
    press(g, ax::key::Home, ax::shiftmask::Ctrl);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(g.TopRow(), 1);
    EXPECT_EQ(g.LeftCol(), 1);
    press(g, ax::key::End, ax::shiftmask::Ctrl);
    EXPECT_EQ(g.Row(), 19);
    EXPECT_EQ(g.Col(), 5);

    // Shift extends the selection and leaves the current cell.
    press(g, ax::key::Home, ax::shiftmask::Ctrl);
    press(g, ax::key::Down, ax::shiftmask::Shift);
    press(g, ax::key::Right, ax::shiftmask::Shift);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(g.RowSel(), 2);
    EXPECT_EQ(g.ColSel(), 2);

    // A KeyDown handler that takes the key keeps the grid still.
    g.onKeyDown = [](int16_t& k, int16_t&) { k = 0; };
    press(g, ax::key::Down);
    EXPECT_EQ(g.Row(), 1);
}

TEST_F(Grid, TypingIsReportedButChangesNoCell) {
    rec.attach(g);
    g.onKeyPress = [&](int16_t& k) {
        rec.log.push_back("KeyPress " + std::to_string(k));
        k = 0;
    };
    int16_t code = 'A', shift = 0, ascii = 'a';
    g.keyDown(code, shift);
    g.keyPress(ascii);
    g.keyUp(code, shift);
    EXPECT_EQ(rec.log, (Log{"KeyDown 65", "KeyPress 97", "KeyUp 65"}));
    EXPECT_EQ(ascii, 0);  // the handler's answer reaches the caller
    EXPECT_EQ(g.Text(), "1,1");
    EXPECT_EQ(g.Row(), 1);
}

TEST_F(Grid, OleDragAndDrop) {
    Log log;
    int32_t allowed = 0;
    g.onOLEStartDrag = [&](std::shared_ptr<ax::Object>& data, int32_t& effects) {
        log.push_back("Start");
        EXPECT_TRUE(data);
        allowed = effects;
        effects = ax::flex::EffectCopy;
    };
    g.onOLEGiveFeedback = [&](int32_t& effect, bool& defaults) {
        log.push_back("Feedback " + std::to_string(effect) + (defaults ? " default" : ""));
    };
    g.onOLESetData = [&](std::shared_ptr<ax::Object>&, int16_t& format) {
        log.push_back("SetData " + std::to_string(format));
    };
    g.onOLECompleteDrag = [&](int32_t& effect) { log.push_back("Complete " + std::to_string(effect)); };
    g.OLEDrag();
    EXPECT_TRUE(g.dragInProgress());
    g.simulateGiveFeedback(ax::flex::EffectCopy);
    g.simulateSetData(1);
    g.simulateCompleteDrag(ax::flex::EffectCopy);
    EXPECT_FALSE(g.dragInProgress());
    g.simulateCompleteDrag(ax::flex::EffectCopy);  // no drag left to complete
    EXPECT_EQ(allowed, ax::flex::EffectCopy | ax::flex::EffectMove);
    EXPECT_EQ(log, (Log{"Start", "Feedback 1 default", "SetData 1", "Complete 1"}));

    // A start handler that allows nothing cancels the drag.
    g.onOLEStartDrag = [](std::shared_ptr<ax::Object>&, int32_t& effects) { effects = 0; };
    g.OLEDrag();
    EXPECT_FALSE(g.dragInProgress());

    // As a target the grid reports only while its drop mode is manual.
    int overs = 0;
    g.onOLEDragOver = [&](std::shared_ptr<ax::Object>&, int32_t& effect, int16_t&, int16_t&, float&, float&,
                          int16_t& state) {
        ++overs;
        EXPECT_EQ(state, ax::flex::DragEnter);
        effect = ax::flex::EffectMove;
    };
    g.onOLEDragDrop = [&](std::shared_ptr<ax::Object>&, int32_t& effect, int16_t&, int16_t&, float&, float&) {
        effect = ax::flex::EffectNone;
    };
    auto data = std::make_shared<ax::Object>();
    EXPECT_EQ(g.simulateDragOver(data, ax::flex::EffectCopy, 1, 0, xOf(2), yOf(3), ax::flex::DragEnter), 0);
    EXPECT_EQ(overs, 0);
    g.setOLEDropMode(ax::flex::DropManual);
    EXPECT_EQ(g.simulateDragOver(data, ax::flex::EffectCopy, 1, 0, xOf(2), yOf(3), ax::flex::DragEnter),
              ax::flex::EffectMove);
    EXPECT_EQ(overs, 1);
    EXPECT_EQ(g.MouseRow(), 3);
    EXPECT_EQ(g.simulateDragDrop(data, ax::flex::EffectCopy, 1, 0, xOf(2), yOf(3)), ax::flex::EffectNone);
}
