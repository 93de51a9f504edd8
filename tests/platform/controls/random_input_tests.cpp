// Long runs of random keys, clicks and settings: the controls never fail and keep their rules.
#include <gtest/gtest.h>

#include <random>

#include "input_helpers.h"
#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/controls/headless/dt_picker.h"
#include "platform/controls/headless/flat_scroll_bar.h"
#include "platform/controls/headless/mask_ed_box.h"
#include "platform/controls/headless/text_box.h"

namespace {

const int16_t kKeys[] = {ax::key::Back,  ax::key::Delete, ax::key::Left,   ax::key::Right,
                         ax::key::Home,  ax::key::End,    ax::key::Up,     ax::key::Down,
                         ax::key::Space, ax::key::F4,     ax::key::Return, ax::key::Escape};
const char* kTyped[] = {"1", "9", "0", "a", "Z", "/", "-", "_", " ", "é", "😀", ":", "p"};

template <class Control>
void randomInput(Control& c, std::mt19937& rng) {
    switch (rng() % 3) {
        case 0:
            ctltest::press(c, kKeys[rng() % std::size(kKeys)], int16_t(rng() % 2));
            break;
        case 1:
            ctltest::type(c, kTyped[rng() % std::size(kTyped)]);
            break;
        default:
            ctltest::clickOn(c, float(rng() % 1600), float(rng() % 300));
            break;
    }
}

}  // namespace

TEST(RandomInput, MaskedBoxKeepsItsShape) {
    std::mt19937 rng(7);
    const char* masks[] = {"##/##/####", "(###) ###-####", ">?\?-aaa", "&&&&", "", "\\##9C"};
    ax::HeadlessMaskEdBox box;
    int changes = 0;
    box.onChange = [&] { ++changes; };
    for (int round = 0; round < 3000; ++round) {
        if (round % 300 == 0) box.setMask(masks[(round / 300) % std::size(masks)]);
        if (round % 97 == 0) {
            box.setSelStart(int32_t(rng() % 20));
            box.setSelLength(int32_t(rng() % 20));
        }
        const std::string before = box.Text();
        const int changesBefore = changes;
        randomInput(box, rng);
        // Change comes exactly when the text changed.
        EXPECT_EQ(changes != changesBefore, box.Text() != before) << box.Mask();
        if (!box.Mask().empty()) {
            // A masked text keeps the mask's length, and setting it back is always accepted.
            EXPECT_EQ(ax::charCount(box.Text()), ax::charCount(box.Mask()) -
                                                     (box.Mask().find('\\') != std::string::npos) -
                                                     (box.Mask().find('>') != std::string::npos));
            EXPECT_NO_THROW(box.setText(box.Text()));
            EXPECT_LE(ax::charCount(box.ClipText()), ax::charCount(box.Text()));
        }
        EXPECT_LE(box.SelStart() + box.SelLength(), int32_t(ax::charCount(box.Text())));
    }
    EXPECT_GT(changes, 100);
}

TEST(RandomInput, TextBoxAndRangesHoldTheirBounds) {
    std::mt19937 rng(11);
    ax::HeadlessTextBox text;
    text.setMaxLength(6);
    ax::HeadlessFlatScrollBar bar;
    bar.setWidth(1600);
    bar.setHeight(300);
    bar.setMax(-20);
    bar.setMin(20);  // a reversed range
    bar.setLargeChange(7);
    ax::HeadlessDTPicker picker;
    picker.setWidth(1600);
    picker.setHeight(300);
    picker.setCheckBox(true);
    picker.setMinDate(ax::toAutomationDate({2000, 2, 10}));
    picker.setMaxDate(ax::toAutomationDate({2001, 3, 5}));
    for (int round = 0; round < 3000; ++round) {
        if (round % 500 == 0) picker.setFormat(int16_t((round / 500) % 4));
        if (round % 250 == 0) picker.setUpDown(!picker.UpDown());
        randomInput(text, rng);
        randomInput(bar, rng);
        randomInput(picker, rng);
        EXPECT_LE(ax::charCount(text.Text()), 6u);
        EXPECT_GE(bar.Value(), -20);
        EXPECT_LE(bar.Value(), 20);
        const ax::Variant v = picker.Value();
        if (!v.isNull()) {
            EXPECT_GE(std::floor(v.toDate().value), picker.MinDate().value);
            EXPECT_LE(std::floor(v.toDate().value), picker.MaxDate().value);
        }
    }
    text.setSelStart(2);
    text.setSelLength(INT32_MAX);  // held to the text
    EXPECT_EQ(text.SelStart() + text.SelLength(), int32_t(ax::charCount(text.Text())));
}
