#include <gtest/gtest.h>

#include "host_fakes.h"
#include "tests/support/error_of.h"

namespace {

using hosttest::Log;
using hosttest::Placed;

using testsupport::errorOf;

TEST(HeadlessFocus, TheOldChildLosesTheFocusBeforeTheNewOneGetsIt) {
    Placed p;
    auto& c = *p.control;
    c.text->setVisible(true);
    c.grid->SetFocus();
    EXPECT_EQ(*p.log, (Log{"EnterFocus", "Grid GotFocus"}));
    EXPECT_TRUE(c.grid->hasFocus());

    p.log->clear();
    // An editor that closes itself on losing the focus, as the grid's editors do.
    c.text->SetFocus();
    c.text->onLostFocus = [&] { c.text->setVisible(false); };
    c.grid->SetFocus();
    EXPECT_EQ(*p.log, (Log{"Grid LostFocus", "Txt GotFocus", "Txt LostFocus", "Grid GotFocus"}));
    EXPECT_FALSE(c.text->Visible());
    EXPECT_EQ(p.host.focused(), c.grid.get());

    // Focusing what already has the focus changes nothing.
    p.log->clear();
    c.grid->SetFocus();
    EXPECT_TRUE(p.log->empty());

    // A hidden or disabled child refuses the focus.
    EXPECT_EQ(errorOf([&] { c.text->SetFocus(); }), ax::err::InvalidProcedureCall);
    c.text->setVisible(true);
    c.text->setEnabled(false);
    EXPECT_EQ(errorOf([&] { c.text->SetFocus(); }), ax::err::InvalidProcedureCall);
    EXPECT_EQ(p.host.focused(), c.grid.get());

    p.log->clear();
    p.host.setFocus(nullptr);
    EXPECT_EQ(*p.log, (Log{"Grid LostFocus", "ExitFocus"}));
}

TEST(HeadlessFocus, HidingOrDisablingTheFocusedChildMovesTheFocusOnInCreationOrder) {
    Placed p;
    auto& c = *p.control;
    c.text->setVisible(true);
    c.image->setVisible(true);
    c.text->SetFocus();
    p.log->clear();
    // The image cannot take the focus, so it wraps round to the grid.
    c.text->setVisible(false);
    EXPECT_EQ(*p.log, (Log{"Txt LostFocus", "Grid GotFocus"}));

    // From the grid the next is the text box.
    c.text->setVisible(true);
    p.log->clear();
    c.grid->setEnabled(false);
    EXPECT_EQ(*p.log, (Log{"Grid LostFocus", "Txt GotFocus"}));

    // Nothing left to take it: the focus leaves the control.
    p.log->clear();
    c.text->setVisible(false);
    EXPECT_EQ(*p.log, (Log{"Txt LostFocus", "ExitFocus"}));
    EXPECT_EQ(p.host.focused(), nullptr);

    // Hiding a child without the focus moves nothing.
    c.grid->setEnabled(true);
    c.grid->SetFocus();
    p.log->clear();
    c.image->setVisible(false);
    EXPECT_TRUE(p.log->empty());

    // Hiding the control drops a focus inside it.
    p.host.hide(c);
    EXPECT_EQ(*p.log, (Log{"Hide", "Grid LostFocus", "ExitFocus"}));
}

TEST(HeadlessInput, KeysArriveInDesktopOrderAndAPressSetToZeroIsDiscarded) {
    Placed p;
    auto& c = *p.control;
    c.grid->SetFocus();
    p.log->clear();
    p.host.typeKey('A', ax::shiftmask::Shift);
    EXPECT_EQ(*p.log, (Log{"Grid KeyDown 65 1", "Grid KeyPress 65", "Grid Change", "Grid KeyUp 65 1"}));

    p.log->clear();
    c.grid->onKeyPress = [](int16_t& k) {
        if (k == 'x') k = 0;
    };
    p.host.typeText("xy");
    EXPECT_EQ(*p.log, (Log{"Grid KeyDown 88 0", "Grid KeyPress 120", "Grid KeyUp 88 0", "Grid KeyDown 89 0",
                           "Grid KeyPress 121", "Grid Change", "Grid KeyUp 89 0"}));
    EXPECT_EQ(c.grid->text, "Ay");

    // Keys that produce no character get no press; Ctrl with a letter gives a control code.
    p.log->clear();
    p.host.typeKey(ax::key::Left);
    p.host.typeKey('C', ax::shiftmask::Ctrl);
    EXPECT_EQ(*p.log, (Log{"Grid KeyDown 37 0", "Grid KeyUp 37 0", "Grid KeyDown 67 2", "Grid KeyPress 3",
                           "Grid Change", "Grid KeyUp 67 2"}));

    // Punctuation and shifted digits type through the right keys; Enter arrives as 13.
    c.grid->text.clear();
    p.host.typeText("a-1!\n");
    EXPECT_EQ(c.grid->text, "a-1!\r");
    EXPECT_EQ(p.host.keyPress('z'), 'z');
    c.grid->onKeyPress = [](int16_t& k) { k = 'Q'; };
    EXPECT_EQ(p.host.keyPress('z'), 'Q');  // what the handlers left
}

TEST(HeadlessInput, TabMovesBetweenControlsEachOneStopAndReachesAChildOnlyWithNowhereElseToGo) {
    Placed p;
    auto& c = *p.control;
    c.grid->SetFocus();
    p.log->clear();
    p.host.typeKey(ax::key::Tab);  // the only stop, focused at its entry: the child sees the key
    EXPECT_EQ(*p.log, (Log{"Grid KeyDown 9 0", "Grid KeyUp 9 0"}));

    // A child shown over the control (an editor) is part of the control's stop: Tab from it goes
    // back to the control's entry, which closes an editor as any focus loss does.
    c.text->setVisible(true);
    c.image->setVisible(true);  // cannot take the focus, so never a stop
    c.text->SetFocus();
    p.log->clear();
    p.host.typeKey(ax::key::Tab);
    EXPECT_EQ(*p.log, (Log{"Txt LostFocus", "Grid GotFocus"}));

    // A second control is a stop of its own, entered at its first child; Tab and Shift+Tab wrap.
    auto second = std::make_shared<hosttest::TestControl>(p.log);
    p.host.place(second, 2000, 1000);
    c.text->SetFocus();
    p.log->clear();
    p.host.typeText("\t");  // a typed tab character moves on the same way
    EXPECT_EQ(p.host.focused(), second->grid.get());
    EXPECT_EQ(p.log->front(), "Txt LostFocus");
    p.host.typeKey(ax::key::Tab);
    EXPECT_EQ(p.host.focused(), c.grid.get());
    c.text->SetFocus();
    p.host.typeKey(ax::key::Tab, ax::shiftmask::Shift);  // backwards out of the first control
    EXPECT_EQ(p.host.focused(), second->grid.get());
    EXPECT_EQ(p.host.tabStop(*c.text), c.grid.get());
    c.text->SetFocus();
    p.host.typeKey(ax::key::Tab, ax::shiftmask::Ctrl);  // Ctrl+Tab is the child's own key
    EXPECT_EQ(p.host.focused(), c.text.get());
    EXPECT_EQ(p.log->back(), "Txt KeyUp 9 2");
    p.host.hide(*second);  // a hidden control is no stop
    p.host.typeKey(ax::key::Tab);
    EXPECT_EQ(p.host.focused(), c.grid.get());

    // A disabled or hidden control takes neither clicks nor the focus by tabbing.
    p.host.surface(c).setEnabled(false);
    EXPECT_EQ(p.host.focused(), nullptr);
    p.log->clear();
    p.host.click(*c.grid, 10, 10);
    p.host.typeKey(ax::key::Tab);
    EXPECT_TRUE(p.log->empty());
    p.host.surface(c).setEnabled(true);
    p.host.hide(c);
    p.host.click(*c.grid, 10, 10);
    EXPECT_EQ(p.host.focused(), nullptr);
    p.host.show(c);
    p.host.click(*c.grid, 10, 10);
    EXPECT_EQ(p.host.focused(), c.grid.get());
}

TEST(HeadlessInput, EachPhaseGoesToTheChildFocusedAtThatMoment) {
    Placed p;
    auto& c = *p.control;
    c.text->setVisible(true);
    c.grid->SetFocus();
    // A key down on the grid opens an editor, as the grid does on F2.
    c.grid->onKeyDown = [&](int16_t&, int16_t&) { c.text->SetFocus(); };
    p.log->clear();
    p.host.typeKey('B');
    EXPECT_EQ(*p.log, (Log{"Grid KeyDown 66 0", "Grid LostFocus", "Txt GotFocus", "Txt KeyPress 98",
                           "Txt Change", "Txt KeyUp 66 0"}));

    // With no focused child the keys go nowhere.
    p.host.setFocus(nullptr);
    p.log->clear();
    p.host.typeText("q");
    EXPECT_TRUE(p.log->empty());
}

TEST(HeadlessInput, MouseButtonsFocusTheChildFirstAndFollowDesktopOrder) {
    Placed p;
    auto& c = *p.control;
    c.text->setVisible(true);
    c.text->SetFocus();
    p.log->clear();
    p.host.click(c.grid, 100, 200);
    EXPECT_EQ(*p.log, (Log{"Txt LostFocus", "Grid GotFocus", "Grid MouseDown 1 100,200",
                           "Grid MouseUp 1 100,200", "Grid Click"}));

    p.log->clear();
    p.host.dblClick(c.grid, 5, 6);
    EXPECT_EQ(*p.log, (Log{"Grid MouseDown 1 5,6", "Grid MouseUp 1 5,6", "Grid Click", "Grid DblClick",
                           "Grid MouseUp 1 5,6"}));

    // A child that cannot take the focus still hears the mouse; the focus stays.
    c.image->setVisible(true);
    p.log->clear();
    p.host.mouseDown(*c.image, 2, ax::shiftmask::Ctrl, 1, 1);
    p.host.mouseMove(*c.image, 0, 0, 3, 4);
    EXPECT_EQ(*p.log, (Log{"Img MouseDown 2 1,1", "Img MouseMove 0 3,4"}));
    EXPECT_EQ(p.host.focused(), c.grid.get());

    // A hidden child takes no input at all.
    c.image->setVisible(false);
    p.log->clear();
    p.host.click(c.image, 1, 1);
    EXPECT_TRUE(p.log->empty());
}

TEST(HeadlessInput, KeyAsciiTableMatchesAUSKeyboard) {
    EXPECT_EQ(ax::keyAsciiFor('A', 0), 'a');
    EXPECT_EQ(ax::keyAsciiFor('7', ax::shiftmask::Shift), '&');
    EXPECT_EQ(ax::keyAsciiFor(190, 0), '.');
    EXPECT_EQ(ax::keyAsciiFor(189, ax::shiftmask::Shift), '_');
    EXPECT_EQ(ax::keyAsciiFor(109, 0), '-');  // keypad minus
    EXPECT_EQ(ax::keyAsciiFor(ax::key::Escape, 0), 27);
    EXPECT_EQ(ax::keyAsciiFor(ax::key::Back, 0), 8);
    EXPECT_EQ(ax::keyAsciiFor(ax::key::F2, 0), 0);
    EXPECT_EQ(ax::keyAsciiFor(ax::key::Tab, 0), 0);
    EXPECT_EQ(ax::keyAsciiFor('A', ax::shiftmask::Alt), 0);
}

}  // namespace
