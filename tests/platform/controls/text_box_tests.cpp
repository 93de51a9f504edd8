#include <gtest/gtest.h>

#include "input_helpers.h"
#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/controls/headless/text_box.h"

using namespace ctltest;

namespace {

struct LoggedTextBox {
    ax::HeadlessTextBox box;
    std::vector<std::string> log;
    LoggedTextBox() {
        box.onChange = [this] { log.push_back("Change:" + box.Text()); };
        box.onKeyDown = [this](int16_t& k, int16_t&) { log.push_back("KeyDown:" + std::to_string(k)); };
        box.onKeyPress = [this](int16_t& k) { log.push_back("KeyPress:" + std::to_string(k)); };
        box.onKeyUp = [this](int16_t& k, int16_t&) { log.push_back("KeyUp:" + std::to_string(k)); };
    }
};

}  // namespace

TEST(TextBox, MaxLengthRefusesTypingButNotSetting) {
    LoggedTextBox t;
    t.box.setMaxLength(5);
    type(t.box, "abcdefg");
    EXPECT_EQ(t.box.Text(), "abcde");
    EXPECT_EQ(std::count_if(t.log.begin(), t.log.end(), [](auto& s) { return s.starts_with("Change"); }), 5);

    // At the limit a typed character may still replace a selection.
    t.box.setSelStart(1);
    t.box.setSelLength(2);
    type(t.box, "XYZ");  // X replaces "bc", Y fills the place freed, Z is one too many
    EXPECT_EQ(t.box.Text(), "aXYde");

    // Setting the text is not cut, and characters count as characters, not bytes.
    t.box.setText("longer than five");
    EXPECT_EQ(t.box.Text(), "longer than five");
    t.box.setText("");
    t.box.setMaxLength(3);
    type(t.box, "é😀ñü");
    EXPECT_EQ(t.box.Text(), "é😀ñ");
    EXPECT_EQ(t.box.SelStart(), 3);

    t.box.setMaxLength(0);
    type(t.box, std::string(300, 'x'));
    EXPECT_EQ(ax::charCount(t.box.Text()), 303u);
    EXPECT_THROW(t.box.setMaxLength(-1), ax::AutomationError);
}

TEST(TextBox, KeyNotificationsComeInDesktopOrderAndZeroDiscards) {
    LoggedTextBox t;
    type(t.box, "a");
    EXPECT_EQ(t.log, (std::vector<std::string>{"KeyDown:65", "KeyPress:97", "Change:a", "KeyUp:65"}));

    t.log.clear();
    t.box.onKeyPress = [&](int16_t& k) {
        t.log.push_back("KeyPress:" + std::to_string(k));
        if (k == 'b') k = 0;
        if (k == 'c') k = 'C';  // a handler may also change the key
    };
    type(t.box, "bc");
    EXPECT_EQ(t.box.Text(), "aC");
    EXPECT_EQ(t.log, (std::vector<std::string>{"KeyDown:66", "KeyPress:98", "KeyUp:66", "KeyDown:67",
                                               "KeyPress:99", "Change:aC", "KeyUp:67"}));

    // Enter and Esc reach the handlers but do not enter a single-line box.
    t.log.clear();
    press(t.box, ax::key::Return);
    press(t.box, ax::key::Escape);
    EXPECT_EQ(t.box.Text(), "aC");
    EXPECT_EQ(t.log.size(), 6u);
}

TEST(TextBox, EditingKeysAndSelection) {
    LoggedTextBox t;
    t.box.setText("hello world");
    EXPECT_EQ(t.log, (std::vector<std::string>{"Change:hello world"}));
    t.box.setText("hello world");  // same text: no change
    EXPECT_EQ(t.log.size(), 1u);
    EXPECT_EQ(t.box.SelStart(), 0);

    t.box.setSelStart(6);
    t.box.setSelLength(99);  // clamps to the text
    EXPECT_EQ(t.box.SelLength(), 5);
    EXPECT_EQ(t.box.SelText(), "world");
    t.box.setSelText("there");
    EXPECT_EQ(t.box.Text(), "hello there");
    EXPECT_EQ(t.box.SelStart(), 11);

    press(t.box, ax::key::Back);
    EXPECT_EQ(t.box.Text(), "hello ther");
    press(t.box, ax::key::Home);
    press(t.box, ax::key::Delete);
    EXPECT_EQ(t.box.Text(), "ello ther");
    press(t.box, ax::key::Right, ax::shiftmask::Shift);
    press(t.box, ax::key::Right, ax::shiftmask::Shift);
    EXPECT_EQ(t.box.SelText(), "el");
    press(t.box, ax::key::Delete);
    EXPECT_EQ(t.box.Text(), "lo ther");
    press(t.box, ax::key::End);
    press(t.box, ax::key::Delete);  // nothing after the caret
    press(t.box, ax::key::Home);
    press(t.box, ax::key::Back);  // nothing before it
    EXPECT_EQ(t.box.Text(), "lo ther");

    // Locked: the user cannot edit, the host still can.
    t.log.clear();
    t.box.setLocked(true);
    type(t.box, "x");
    press(t.box, ax::key::Delete);
    press(t.box, ax::key::Back);
    EXPECT_EQ(t.box.Text(), "lo ther");
    EXPECT_TRUE(std::none_of(t.log.begin(), t.log.end(), [](auto& s) { return s.starts_with("Change"); }));
    t.box.setText("set");
    EXPECT_EQ(t.box.Text(), "set");

    EXPECT_THROW(t.box.setSelStart(-1), ax::AutomationError);
    EXPECT_THROW(t.box.setMousePointer(16), ax::AutomationError);
    EXPECT_THROW(t.box.setFont(nullptr), ax::AutomationError);
    t.box.setMousePointer(99);
    EXPECT_EQ(t.box.MousePointer(), 99);
}

TEST(TextBox, FocusMovesBetweenBoxesLosingBeforeGetting) {
    FocusContainer host;
    ax::HeadlessTextBox a, b;
    a.attach(&host, "A");
    b.attach(&host, "B");
    std::vector<std::string> log;
    a.onGotFocus = [&] { log.push_back("A got"); };
    a.onLostFocus = [&] { log.push_back("A lost"); };
    b.onGotFocus = [&] { log.push_back("B got"); };
    b.onLostFocus = [&] { log.push_back("B lost"); };
    a.SetFocus();
    b.SetFocus();
    EXPECT_TRUE(b.hasFocus());
    EXPECT_FALSE(a.hasFocus());
    EXPECT_EQ(log, (std::vector<std::string>{"A got", "A lost", "B got"}));
}
