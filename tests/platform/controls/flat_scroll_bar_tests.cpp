#include <gtest/gtest.h>

#include "input_helpers.h"
#include "platform/automation/errors.h"
#include "platform/controls/headless/flat_scroll_bar.h"

using Part = ax::FlatScrollBar::Part;

TEST(FlatScrollBar, ClicksStopAtTheBounds) {
    ax::HeadlessFlatScrollBar bar;
    bar.setMin(0);
    bar.setMax(10);
    bar.setSmallChange(3);
    bar.setLargeChange(5);
    std::vector<int16_t> seen;
    bar.onChange = [&] { seen.push_back(bar.Value()); };

    for (int i = 0; i < 5; ++i) bar.clickPart(Part::RightArrow);
    EXPECT_EQ(seen, (std::vector<int16_t>{3, 6, 9, 10}));  // no Change once at Max
    bar.clickPart(Part::PageLeft);
    bar.clickPart(Part::PageLeft);
    bar.clickPart(Part::PageLeft);
    bar.clickPart(Part::LeftArrow);
    EXPECT_EQ(seen, (std::vector<int16_t>{3, 6, 9, 10, 5, 0}));

    bar.setValue(0);  // same value: no Change
    EXPECT_EQ(seen.size(), 6u);
    EXPECT_THROW(bar.setValue(11), ax::AutomationError);
    EXPECT_THROW(bar.setValue(-1), ax::AutomationError);
    EXPECT_THROW(bar.setSmallChange(0), ax::AutomationError);
    EXPECT_THROW(bar.setArrows(3), ax::AutomationError);

    // Narrowing the range drags the value along.
    bar.setValue(8);
    bar.setMax(4);
    EXPECT_EQ(bar.Value(), 4);
    EXPECT_EQ(seen.back(), 4);

    // The extreme 16-bit range does not overflow.
    bar.setMin(-32768);
    bar.setMax(32767);
    bar.setLargeChange(32767);
    bar.setValue(32000);
    bar.clickPart(Part::PageRight);
    EXPECT_EQ(bar.Value(), 32767);
    bar.setValue(-32000);
    bar.clickPart(Part::PageLeft);
    EXPECT_EQ(bar.Value(), -32768);
}

TEST(FlatScrollBar, ReversedRangeAndDisabledArrows) {
    ax::HeadlessFlatScrollBar bar;
    bar.setMax(0);
    bar.setMin(10);
    EXPECT_EQ(bar.Value(), 0);
    bar.clickPart(Part::LeftArrow);  // towards Min, which is the larger number
    EXPECT_EQ(bar.Value(), 1);
    bar.setValue(10);
    bar.clickPart(Part::LeftArrow);
    EXPECT_EQ(bar.Value(), 10);
    bar.clickPart(Part::RightArrow);
    EXPECT_EQ(bar.Value(), 9);
    EXPECT_THROW(bar.setValue(11), ax::AutomationError);

    bar.setArrows(1);  // only the left arrow works
    bar.clickPart(Part::RightArrow);
    EXPECT_EQ(bar.Value(), 9);
    bar.clickPart(Part::LeftArrow);
    EXPECT_EQ(bar.Value(), 10);
    bar.setArrows(2);
    bar.clickPart(Part::LeftArrow);
    EXPECT_EQ(bar.Value(), 10);
    bar.clickPart(Part::PageRight);  // the track still works
    EXPECT_EQ(bar.Value(), 0);

    bar.setEnabled(false);
    bar.clickPart(Part::PageLeft);
    EXPECT_EQ(bar.Value(), 0);
}

TEST(FlatScrollBar, MouseAndKeysFindTheirPart) {
    ax::HeadlessFlatScrollBar bar;
    bar.setWidth(1000);
    bar.setHeight(200);
    bar.setMax(100);
    bar.setValue(50);
    ctltest::clickOn(bar, 50, 100);  // left arrow
    EXPECT_EQ(bar.Value(), 49);
    ctltest::clickOn(bar, 990, 100);  // right arrow
    EXPECT_EQ(bar.Value(), 50);
    ctltest::clickOn(bar, 250, 100);  // track left of the thumb
    EXPECT_EQ(bar.Value(), 40);
    ctltest::clickOn(bar, 750, 100);
    EXPECT_EQ(bar.Value(), 50);
    ctltest::clickOn(bar, 1500, 100);  // outside the bar
    EXPECT_EQ(bar.Value(), 50);

    ctltest::press(bar, ax::key::End);
    EXPECT_EQ(bar.Value(), 100);
    ctltest::press(bar, ax::key::PageUp);
    ctltest::press(bar, ax::key::Left);
    EXPECT_EQ(bar.Value(), 89);
    ctltest::press(bar, ax::key::Home);
    EXPECT_EQ(bar.Value(), 0);
}
