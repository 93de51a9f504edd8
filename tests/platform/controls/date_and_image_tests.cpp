#include <gtest/gtest.h>

#include "input_helpers.h"
#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/controls/headless/dt_picker.h"
#include "platform/controls/headless/image.h"
#include "platform/controls/headless/image_combo.h"
#include "tests/support/error_of.h"

using namespace ctltest;

namespace {

ax::Date day(int y, int m, int d, int h = 0, int n = 0) { return ax::toAutomationDate({y, m, d, h, n, 0}); }

using testsupport::errorOf;

ax::PicturePtr pixel(uint32_t rgba) {
    return std::make_shared<ax::Picture>(1, 1, std::vector<uint32_t>{rgba});
}

}  // namespace

TEST(DTPicker, CheckBoxClearedGivesNull) {
    ax::HeadlessDTPicker p;
    int changes = 0;
    p.onChange = [&] { ++changes; };
    p.setCheckBox(true);
    p.setValue(ax::Variant(day(2025, 11, 7)));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(p.Text(), "11/7/2025");

    press(p, ax::key::Space);
    EXPECT_TRUE(p.Value().isNull());
    EXPECT_EQ(changes, 2);
    // A cleared picker takes no typing or stepping until it is ticked again.
    type(p, "5");
    press(p, ax::key::Up);
    EXPECT_TRUE(p.Value().isNull());
    p.clickCheckBox();
    EXPECT_EQ(p.Value(), ax::Variant(day(2025, 11, 7)));
    EXPECT_EQ(changes, 3);

    p.setValue(ax::Variant(ax::Null{}));
    EXPECT_TRUE(p.Value().isNull());
    p.chooseFromCalendar(day(2026, 1, 2));  // choosing a day ticks the box again
    EXPECT_EQ(p.Value(), ax::Variant(day(2026, 1, 2)));
    p.setValue(ax::Variant(""));
    EXPECT_TRUE(p.Value().isNull());
    p.setCheckBox(false);  // without a check box there is always a date
    EXPECT_EQ(p.Value(), ax::Variant(day(2026, 1, 2)));
    EXPECT_EQ(changes, 7);
    EXPECT_EQ(errorOf([&] { p.setValue(ax::Variant(ax::Null{})); }), 380);
    p.setValue(ax::Variant(""));
    EXPECT_EQ(p.Value(), ax::Variant(ax::today()));
    EXPECT_EQ(errorOf([&] { p.setValue(ax::Variant("not a date")); }), 13);
    p.setValue(ax::Variant("3/4/2025"));  // text that reads as a date
    EXPECT_EQ(p.Value(), ax::Variant(day(2025, 3, 4)));
}

TEST(DTPicker, KeysEditTheFocusedField) {
    ax::HeadlessDTPicker p;
    p.setValue(ax::Variant(day(2026, 1, 31)));
    EXPECT_EQ(p.focusedField(), "M");
    press(p, ax::key::Up);  // February has no 31st: the day is held to the month
    EXPECT_EQ(p.Text(), "2/28/2026");
    press(p, ax::key::Down);
    press(p, ax::key::Down);  // wraps within the field
    EXPECT_EQ(p.Text(), "12/28/2026");
    press(p, ax::key::Right);
    type(p, "31");  // a full field moves the focus on
    EXPECT_EQ(p.Text(), "12/31/2026");
    EXPECT_EQ(p.focusedField(), "yyyy");
    type(p, "202");  // a year is taken once its four digits are there
    EXPECT_EQ(p.Text(), "12/31/2026");
    type(p, "4");
    EXPECT_EQ(p.Text(), "12/31/2024");
    press(p, ax::key::Home);
    press(p, ax::key::Left);
    press(p, ax::key::Left);
    EXPECT_EQ(p.focusedField(), "M");
    type(p, "4");  // no month starts with 4x: taken at once, and the day follows the month
    EXPECT_EQ(p.Text(), "4/30/2024");
    EXPECT_EQ(p.focusedField(), "d");
    type(p, "/");  // the separator moves on too
    EXPECT_EQ(p.focusedField(), "yyyy");

    // The range holds the value, by keys and when it narrows.
    p.setMaxDate(day(2024, 5, 15));
    p.setMinDate(day(2024, 4, 1));
    press(p, ax::key::Up);  // 2025 would be past MaxDate
    EXPECT_EQ(p.Text(), "5/15/2024");
    p.setMaxDate(day(2024, 4, 20, 13));  // the time of day is dropped
    EXPECT_EQ(p.MaxDate(), day(2024, 4, 20));
    EXPECT_EQ(p.Text(), "4/20/2024");
    EXPECT_EQ(errorOf([&] { p.setValue(ax::Variant(day(2024, 4, 21))); }), ax::DTPicker::DateOutOfRange);
    EXPECT_EQ(errorOf([&] { p.setValue(ax::Variant(day(1500, 1, 1))); }), ax::DTPicker::DateOutOfRange);
    p.setMinDate(day(2024, 4, 22));  // past MaxDate: the range moves along, and the value with it
    EXPECT_EQ(p.MaxDate(), day(2024, 4, 22));
    EXPECT_EQ(p.Text(), "4/22/2024");
    EXPECT_EQ(errorOf([&] { p.setMinDate(day(1600, 12, 31)); }), 380);
    EXPECT_EQ(errorOf([&] { p.setFormat(4); }), 380);
    EXPECT_EQ(p.Text(), "4/22/2024");

    // Mouse: the check box square at the left, the spin button at the right.
    p.setCheckBox(true);
    p.setWidth(1500);
    p.setHeight(300);
    p.setMaxDate(day(2024, 12, 31));
    p.setUpDown(true);
    clickOn(p, 1400, 50);  // upper half of the spin button: the focused year up, held by MaxDate
    EXPECT_EQ(p.Text(), "12/31/2024");
    press(p, ax::key::Left);
    clickOn(p, 1400, 250);  // lower half: the day down
    EXPECT_EQ(p.Text(), "12/30/2024");
    clickOn(p, 100, 150);
    EXPECT_TRUE(p.Value().isNull());
}

TEST(DTPicker, FormatsAndTimeFields) {
    ax::HeadlessDTPicker p;
    p.setValue(ax::Variant(day(2020, 12, 31, 0, 5)));
    p.setFormat(ax::DTPicker::LongDate);
    EXPECT_EQ(p.Text(), "Thursday, December 31, 2020");
    EXPECT_EQ(p.focusedField(), "MMMM");  // the weekday is no field of its own
    p.setFormat(ax::DTPicker::CustomFormatted);
    p.setCustomFormat("yyyy'-'MM'-'dd HH:mm 'at' ddd");
    EXPECT_EQ(p.Text(), "2020-12-31 00:05 at Thu");
    p.setFormat(ax::DTPicker::Time);
    EXPECT_EQ(p.Text(), "12:05:00 AM");
    press(p, ax::key::Down);  // 12 AM back to 11 AM: the hour turns within its half of the day
    EXPECT_EQ(p.Text(), "11:05:00 AM");
    press(p, ax::key::Right);
    press(p, ax::key::Right);
    press(p, ax::key::Right);
    EXPECT_EQ(p.focusedField(), "tt");
    type(p, "p");
    EXPECT_EQ(p.Text(), "11:05:00 PM");
    EXPECT_EQ(p.Value(), ax::Variant(day(2020, 12, 31, 23, 5)));

    int drops = 0;
    p.onDropDown = [&] { ++drops; };
    press(p, ax::key::F4);
    EXPECT_TRUE(p.DroppedDown());
    p.chooseFromCalendar(day(2021, 2, 3));
    EXPECT_FALSE(p.DroppedDown());
    EXPECT_EQ(p.Value(), ax::Variant(day(2021, 2, 3, 23, 5)));  // the time of day is kept
    p.setUpDown(true);
    press(p, ax::key::F4);
    EXPECT_FALSE(p.DroppedDown());
    EXPECT_EQ(drops, 1);
}

TEST(ImageCombo, EntriesPicturesAndChoosing) {
    auto images = std::make_shared<ax::ImageList>();
    auto red = pixel(0xFF0000FF), green = pixel(0xFF00FF00);
    images->ListImages()->Add({}, ax::Variant("red"), ax::Variant(red));
    images->ListImages()->Add(ax::Variant(int32_t(1)), {}, ax::Variant(green));  // inserted first
    EXPECT_EQ(images->ListImages()->Item(ax::Variant("RED"))->Index(), 2);       // keys ignore case
    EXPECT_EQ(images->pictureOf(ax::Variant(int16_t(1))), green);
    EXPECT_EQ(images->pictureOf(ax::Variant(int16_t(3))), nullptr);
    EXPECT_EQ(errorOf([&] { images->ListImages()->Item(ax::Variant(int16_t(3))); }),
              ax::listerr::IndexOutOfBounds);
    EXPECT_EQ(errorOf([&] { images->ListImages()->Item(ax::Variant("blue")); }),
              ax::listerr::ElementNotFound);
    EXPECT_EQ(errorOf([&] { images->ListImages()->Add({}, ax::Variant("Red"), ax::Variant(red)); }),
              ax::listerr::KeyNotUnique);
    EXPECT_EQ(errorOf([&] { images->ListImages()->Add({}, {}, ax::Variant(ax::emptyPicture())); }), 481);
    EXPECT_EQ(images->ListImages()->Count(), 2);

    ax::HeadlessImageCombo combo;
    std::vector<std::string> log;
    combo.onChange = [&] { log.push_back("Change:" + combo.Text()); };
    combo.onClick = [&] { log.push_back("Click:" + combo.Text()); };
    auto items = combo.ComboItems();
    items->Add({}, ax::Variant("s"), ax::Variant("Stop"), ax::Variant(int16_t(2)), ax::Variant(int16_t(1)));
    items->Add({}, {}, ax::Variant("Go"), ax::Variant("red"), {}, ax::Variant(int16_t(2)));
    items->Add(ax::Variant(int32_t(1)), {}, ax::Variant("Wait"));
    EXPECT_EQ(items->Item(ax::Variant("s"))->Index(), 2);
    EXPECT_EQ(items->Item(ax::Variant(int16_t(3)))->Indentation(), 2);

    // Without an image list no entry shows a picture.
    EXPECT_EQ(combo.pictureOf(*items->Item(ax::Variant("s"))), nullptr);
    combo.setImageList(images);
    EXPECT_EQ(combo.pictureOf(*items->Item(ax::Variant("s"))), red);

    combo.chooseByMouse(2);
    EXPECT_TRUE(items->Item(ax::Variant("s"))->Selected());
    EXPECT_EQ(combo.pictureOf(*items->Item(ax::Variant("s"))), green);  // its selected picture
    press(combo, ax::key::Down);
    EXPECT_EQ(combo.SelectedItem()->Text(), "Go");
    EXPECT_EQ(combo.pictureOf(*combo.SelectedItem()), red);  // no selected picture: its own, by key
    EXPECT_FALSE(items->Item(ax::Variant("s"))->Selected());

    // Typing edits the text; an entry reading the same becomes the selection, another text none.
    combo.setSelStart(2);
    press(combo, ax::key::Back);
    EXPECT_EQ(combo.SelectedItem(), nullptr);
    type(combo, "o");
    EXPECT_EQ(combo.SelectedItem()->Text(), "Go");
    EXPECT_EQ(log, (std::vector<std::string>{"Click:Stop", "Click:Go", "Change:G", "Change:Go"}));

    // Selecting by the host shows the entry's text without notifications; removing it clears it.
    log.clear();
    items->Item(ax::Variant(int16_t(1)))->setSelected(true);
    EXPECT_EQ(combo.Text(), "Wait");
    items->Remove(ax::Variant(int16_t(1)));
    EXPECT_EQ(combo.SelectedItem(), nullptr);
    EXPECT_EQ(combo.Text(), "Wait");  // a removed entry takes no text away
    EXPECT_TRUE(log.empty());
    combo.setLocked(true);
    type(combo, "x");
    EXPECT_EQ(combo.Text(), "Wait");
    items->Clear();  // the text goes with the entries
    EXPECT_EQ(combo.Text(), "");
    EXPECT_EQ(log, (std::vector<std::string>{"Change:"}));

    // Hosts reach the lists by name, as objects.
    std::vector<ax::Variant> args{ax::Variant(int16_t(1))};
    auto first = ax::getProperty(*images->ListImages(), "item", args);
    EXPECT_EQ(ax::getProperty(*first.object(), "Index").toLong(), 1);
    EXPECT_EQ(ax::getProperty(*ax::getProperty(*images, "ListImages").object(), "Count").toLong(), 2);

    ax::HeadlessImage holder;
    EXPECT_EQ(holder.Picture()->Handle(), 0);
    holder.setPicture(red);
    EXPECT_EQ(holder.Picture(), red);
    holder.setPicture(nullptr);
    EXPECT_EQ(holder.Picture()->Handle(), 0);
    EXPECT_FALSE(holder.canFocus());
}
