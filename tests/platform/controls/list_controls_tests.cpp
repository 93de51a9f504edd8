#include <gtest/gtest.h>

#include "input_helpers.h"
#include "platform/automation/errors.h"
#include "platform/controls/headless/check_box.h"
#include "platform/controls/headless/combo_box.h"

using namespace ctltest;
using Style = ax::ComboBox::Style;

namespace {

struct LoggedCombo {
    ax::HeadlessComboBox combo;
    std::vector<std::string> log;
    explicit LoggedCombo(Style s) : combo(s) {
        for (const char* item : {"Apple", "Banana", "Cherry"}) combo.AddItem(item);
        combo.onChange = [this] { log.push_back("Change:" + combo.Text()); };
        combo.onClick = [this] { log.push_back("Click:" + std::to_string(combo.ListIndex())); };
        combo.onDropDown = [this] { log.push_back("DropDown"); };
        combo.onKeyPress = [this](int16_t& k) { log.push_back("KeyPress:" + std::to_string(k)); };
    }
};

}  // namespace

TEST(ComboBox, DropDownListRefusesAnUnlistedText) {
    LoggedCombo c(Style::DropDownList);
    EXPECT_EQ(c.combo.ListIndex(), -1);
    EXPECT_EQ(c.combo.Text(), "");
    c.combo.setText("Banana");
    EXPECT_EQ(c.combo.ListIndex(), 1);
    try {
        c.combo.setText("Durian");
        FAIL() << "an unlisted text was taken";
    } catch (const ax::AutomationError& e) {
        EXPECT_EQ(e.number(), 383);
    }
    EXPECT_THROW(c.combo.setText("banana"), ax::AutomationError);  // entries match exactly
    EXPECT_EQ(c.combo.Text(), "Banana");
    EXPECT_EQ(c.log, (std::vector<std::string>{"Click:1"}));

    // Typing does not edit the text: a letter jumps to the next entry starting with it.
    type(c.combo, "cx");
    EXPECT_EQ(c.combo.Text(), "Cherry");
    press(c.combo, ax::key::Back);
    EXPECT_EQ(c.combo.Text(), "Cherry");
    press(c.combo, ax::key::Home);
    EXPECT_EQ(c.combo.Text(), "Apple");
    EXPECT_EQ(c.log, (std::vector<std::string>{"Click:1", "KeyPress:99", "Click:2", "KeyPress:120",
                                               "KeyPress:8", "Click:0"}));
    c.combo.setText("");  // the empty text selects nothing
    EXPECT_EQ(c.combo.ListIndex(), -1);
}

TEST(ComboBox, ChoosingByMouseAndArrowKeys) {
    LoggedCombo c(Style::DropDownCombo);
    c.combo.chooseByMouse(2);
    EXPECT_EQ(c.combo.Text(), "Cherry");
    EXPECT_FALSE(c.combo.DroppedDown());
    press(c.combo, ax::key::Up);
    press(c.combo, ax::key::Up);
    press(c.combo, ax::key::Up);  // already at the first entry: nothing
    EXPECT_EQ(c.combo.Text(), "Apple");
    press(c.combo, ax::key::Down);
    EXPECT_EQ(c.log, (std::vector<std::string>{"DropDown", "Click:2", "Click:1", "Click:0", "Click:1"}));

    c.log.clear();
    press(c.combo, ax::key::F4);
    EXPECT_TRUE(c.combo.DroppedDown());
    press(c.combo, ax::key::Escape);
    EXPECT_FALSE(c.combo.DroppedDown());
    EXPECT_EQ(c.log, (std::vector<std::string>{"DropDown", "KeyPress:27"}));

    // Choosing by mouse is refused while locked; a bad index is an error.
    c.combo.setLocked(true);
    c.combo.chooseByMouse(0);
    EXPECT_EQ(c.combo.Text(), "Banana");
    EXPECT_THROW(c.combo.chooseByMouse(3), ax::AutomationError);
}

TEST(ComboBox, EditableTextAndListMaintenance) {
    LoggedCombo c(Style::DropDownCombo);
    c.combo.setListIndex(1);
    c.combo.setSelStart(c.combo.SelStart() + 6);  // caret after the selected text
    press(c.combo, ax::key::Back);
    EXPECT_EQ(c.combo.Text(), "Banan");
    EXPECT_EQ(c.combo.ListIndex(), -1);  // a typed text not in the list selects nothing
    type(c.combo, "a");
    EXPECT_EQ(c.combo.ListIndex(), 1);  // reads as an entry again
    EXPECT_EQ(c.log, (std::vector<std::string>{"Click:1", "KeyPress:8", "Change:Banan", "KeyPress:97",
                                               "Change:Banana"}));
    c.combo.setText("Elderberry");
    EXPECT_EQ(c.combo.ListIndex(), -1);
    EXPECT_EQ(c.log.back(), "Change:Elderberry");

    // Inserting before the selection keeps the same entry selected; removing it selects nothing.
    c.combo.setListIndex(2);
    c.combo.AddItem("Apricot", 0);
    EXPECT_EQ(c.combo.ListIndex(), 3);
    EXPECT_EQ(c.combo.List(3), "Cherry");
    c.combo.RemoveItem(3);
    EXPECT_EQ(c.combo.ListIndex(), -1);
    EXPECT_EQ(c.combo.ListCount(), 3);
    EXPECT_EQ(c.combo.List(7), "");
    EXPECT_THROW(c.combo.AddItem("x", 5), ax::AutomationError);
    EXPECT_THROW(c.combo.RemoveItem(-1), ax::AutomationError);
    EXPECT_THROW(c.combo.setListIndex(3), ax::AutomationError);
    EXPECT_THROW(c.combo.setList(3, "x"), ax::AutomationError);
    c.combo.Clear();
    EXPECT_EQ(c.combo.ListCount(), 0);
    EXPECT_EQ(c.combo.Text(), "");

    // Any length and any characters are kept whole.
    const std::string longText(5000, 'x');
    c.combo.AddItem(longText + "日本語");
    c.combo.setListIndex(0);
    EXPECT_EQ(c.combo.Text(), longText + "日本語");
}

TEST(CheckBox, SpaceBarAndClickToggle) {
    ax::HeadlessCheckBox box;
    std::vector<std::string> log;
    box.onClick = [&] { log.push_back("Click:" + std::to_string(box.Value())); };
    box.onKeyDown = [&](int16_t& k, int16_t&) { log.push_back("KeyDown:" + std::to_string(k)); };
    box.onKeyPress = [&](int16_t& k) { log.push_back("KeyPress:" + std::to_string(k)); };
    box.onKeyUp = [&](int16_t& k, int16_t&) { log.push_back("KeyUp:" + std::to_string(k)); };

    press(box, ax::key::Space);
    EXPECT_EQ(box.Value(), 1);
    // The button acts when the space bar comes up, after the key notifications.
    EXPECT_EQ(log, (std::vector<std::string>{"KeyDown:32", "KeyPress:32", "KeyUp:32", "Click:1"}));
    press(box, ax::key::Space);
    EXPECT_EQ(box.Value(), 0);

    log.clear();
    clickOn(box);
    EXPECT_EQ(box.Value(), 1);
    box.setValue(1);  // same value: no Click
    box.setValue(2);
    clickOn(box);  // a greyed box is cleared by the user
    EXPECT_EQ(log, (std::vector<std::string>{"Click:1", "Click:2", "Click:0"}));

    // A space that came up without going down here (focus arrived mid-press) does nothing.
    int16_t code = ax::key::Space, shift = 0;
    box.keyUp(code, shift);
    EXPECT_EQ(box.Value(), 0);
    box.setEnabled(false);
    clickOn(box);
    EXPECT_EQ(box.Value(), 0);

    for (int16_t bad : {int16_t(-1), int16_t(3), int16_t(255)})
        EXPECT_THROW(box.setValue(bad), ax::AutomationError);
}
