#include <gtest/gtest.h>

#include <functional>

#include "platform/automation/errors.h"
#include "platform/host/property_bag.h"
#include "spin/zel.h"
#include "tests/spin/zel_host.h"
#include "tests/support/error_of.h"

namespace {

using ax::Variant;
using Part = ax::FlatScrollBar::Part;
using Strings = std::vector<std::string>;

using testsupport::errorOf;

// A C++ host's typed sink; it tries to rewrite every key it is shown.
struct TypedEvents : zel::ZelEvents {
    int changes = 0;
    std::vector<int16_t> keys;
    void Change() override { ++changes; }
    void KeyPress(int16_t& k) override {
        keys.push_back(k);
        k = 'x';
    }
};

class ZelTest : public ::testing::Test {
  protected:
    ZelTest() : host(std::make_shared<zeltest::StandardChildren>()) {
        host.setUserMode(true);
        host.place(zel, 1000, 300);
        zel->setEventSink(&typed);
        zel->events().Advise(named);
        host.clearPropertyChanges();
    }
    ax::TextBox& txt() { return *zel->textField(); }
    ax::FlatScrollBar& bar() { return *zel->scrollBar(); }
    void bounds(int16_t min, int16_t max, int16_t value) {
        zel->setMax(max);
        zel->setMin(min);
        zel->setValue(value);
        typed.changes = 0;
        typed.keys.clear();
        named->heard.clear();
        host.clearPropertyChanges();
    }
    Strings changes() { return host.propertyChanges(*zel); }

    ax::HeadlessHost host;
    std::shared_ptr<zel::Zel> zel = std::make_shared<zel::Zel>();
    TypedEvents typed;
    std::shared_ptr<zeltest::NamedEvents> named = std::make_shared<zeltest::NamedEvents>();
};

TEST_F(ZelTest, NewInstanceDefaultsChildrenAndInterfaces) {
    EXPECT_EQ(zel->Max(), 32767);
    EXPECT_EQ(zel->Min(), -32768);
    EXPECT_EQ(zel->SmallChange(), 1);
    EXPECT_EQ(zel->LargeChange(), 1);
    EXPECT_EQ(zel->Value(), 0);
    EXPECT_EQ(zel->LastGoodValue(), 0);
    EXPECT_EQ(zel->Style(), zel::ZelStyleArrowsLeft);
    EXPECT_EQ(zel->Arrows(), 0);
    EXPECT_TRUE(zel->Enabled());
    EXPECT_EQ(zel->Text(), "");
    ASSERT_TRUE(zel->Font());
    EXPECT_TRUE(zel->Font()->sameAs(*host.ambientFont()));

    EXPECT_EQ(host.child(*zel, "Txt").get(), zel->textField());
    EXPECT_EQ(host.child(*zel, "FltScrollBar").get(), zel->scrollBar());
    EXPECT_TRUE(txt().Visible() && bar().Visible());
    EXPECT_EQ(bar().orientation(), ax::FlatScrollBar::Orientation::Horizontal);
    EXPECT_EQ(bar().Min(), -32768);
    EXPECT_EQ(bar().Max(), 32767);
    EXPECT_EQ(txt().MaxLength(), 6);

    // _Zel: fourteen properties, each with a get and a let or set, in interface order.
    const auto& members = zel::Zel::dispatchTable().members();
    Strings names;
    for (const auto& m : members)
        if (m.kind == ax::InvokeKind::PropertyGet) names.push_back(m.name);
    EXPECT_EQ(names,
              (Strings{"BackColor", "ForeColor", "Enabled", "Font", "Max", "Min", "SmallChange", "Value",
                       "LargeChange", "Style", "MouseIcon", "MousePointer", "RightToLeft", "Arrows"}));
    EXPECT_EQ(zel::Zel::dispatchTable().count(ax::InvokeKind::PropertyPut) +
                  zel::Zel::dispatchTable().count(ax::InvokeKind::PropertyPutRef),
              14u);
    EXPECT_TRUE(zel->HasMember("font", ax::InvokeKind::PropertyPutRef));
    EXPECT_TRUE(zel->HasMember("MouseIcon", ax::InvokeKind::PropertyPutRef));

    // __Zel: twelve events numbered 1 to 12.
    ASSERT_EQ(zel::kZelEvents.size(), 12u);
    for (size_t i = 0; i < zel::kZelEvents.size(); ++i) EXPECT_EQ(zel::kZelEvents[i].dispid, int32_t(i + 1));
    EXPECT_EQ(zel::kZelEvents[0].name, "Change");
    EXPECT_EQ(zel::kZelEvents[7].name, "KeyPress");
    EXPECT_EQ(zel::kZelEvents[9].paramCount, 4);
}

TEST_F(ZelTest, TypingFollowsTheKeyFilterAndTextValidation) {
    bounds(1, 10, 5);
    host.setFocus(zel->textField());
    EXPECT_EQ(txt().SelStart(), 0);  // the focus selects the whole text
    EXPECT_EQ(txt().SelLength(), 1);

    // "50" lies above Max: the text returns to 5. Only the restored text is a change.
    host.typeKey(ax::key::End);
    host.typeText("0");
    EXPECT_EQ(zel->Text(), "5");
    EXPECT_EQ(zel->Value(), 5);
    EXPECT_EQ(zel->LastGoodValue(), 5);
    EXPECT_EQ(typed.changes, 1);
    EXPECT_EQ(named->heard, (Strings{"KeyPress(48)", "Change"}));

    // Letters and the decimal point are discarded, but the host hears them as typed; what it
    // writes back does not reach the text.
    named->keyAsciiReply = '7';
    host.typeText("a.");
    EXPECT_EQ(zel->Text(), "5");
    EXPECT_EQ(typed.keys, (std::vector<int16_t>{'0', 'a', '.'}));
    EXPECT_EQ(named->count("KeyPress(97)"), 1);
    named->keyAsciiReply = -1;

    // A leading zero keeps the number but is an accepted change.
    host.typeKey(ax::key::Home);
    host.typeText("0");
    EXPECT_EQ(zel->Text(), "05");
    EXPECT_EQ(typed.changes, 2);
    EXPECT_EQ(named->count("Change"), 2);

    // A lone minus and an empty field are transient; the digit after the minus completes it.
    zel->setMin(-10);
    typed.changes = 0;
    txt().setSelStart(0);
    txt().setSelLength(2);
    host.typeKey(ax::key::Back);
    EXPECT_EQ(zel->Text(), "");
    host.typeText("-");
    EXPECT_EQ(zel->Text(), "-");
    EXPECT_EQ(zel->Value(), 5);
    EXPECT_EQ(typed.changes, 0);
    host.typeText("3");
    EXPECT_EQ(zel->Text(), "-3");
    EXPECT_EQ(zel->Value(), -3);
    EXPECT_EQ(bar().Value(), -3);
    EXPECT_EQ(typed.changes, 1);

    // Enter and Backspace pass the filter: the host sees Enter, the text box ignores it.
    host.typeKey(ax::key::Return);
    EXPECT_EQ(typed.keys.back(), 13);
    EXPECT_EQ(zel->Text(), "-3");
}

TEST_F(ZelTest, SettingValueAndBoundsKeepsTextBarAndValueInStep) {
    bounds(0, 10, 0);
    zel->setValue(7);
    EXPECT_EQ(zel->Text(), "7");
    EXPECT_EQ(bar().Value(), 7);
    EXPECT_EQ(typed.changes, 1);  // through the bar's change and the text
    EXPECT_EQ(changes(), (Strings{"Value"}));

    host.clearPropertyChanges();
    zel->setValue(11);
    zel->setMax(-1);  // below Min at run time
    zel->setMin(11);  // above Max
    zel->setSmallChange(0);
    EXPECT_EQ(zel->Value(), 7);
    EXPECT_EQ(zel->Max(), 10);
    EXPECT_EQ(zel->Min(), 0);
    EXPECT_EQ(typed.changes, 1);
    EXPECT_TRUE(changes().empty());

    // Max below the value pulls the value, text and bar down with it.
    zel->setMax(4);
    EXPECT_EQ(zel->Value(), 4);
    EXPECT_EQ(zel->Text(), "4");
    EXPECT_EQ(bar().Max(), 4);
    EXPECT_EQ(bar().Value(), 4);
    zel->setMin(3);
    zel->setValue(3);
    zel->setMin(4);
    EXPECT_EQ(zel->Value(), 4);
    EXPECT_EQ(zel->Text(), "4");

    // Max 99 with Min 0 needs three positions; Max 100 with Min -5 four.
    zel->setMax(99);
    zel->setMin(0);
    EXPECT_EQ(txt().MaxLength(), 3);
    zel->setMax(100);
    zel->setMin(-5);
    EXPECT_EQ(txt().MaxLength(), 4);
}

TEST_F(ZelTest, StepLimitsAndSpinningTheArrows) {
    bounds(0, 10, 9);
    zel->setLargeChange(5);  // limit (10 - 0) / 2 - 1 = 4
    EXPECT_EQ(zel->LargeChange(), 1);
    zel->setLargeChange(4);
    EXPECT_EQ(zel->LargeChange(), 4);
    EXPECT_EQ(bar().LargeChange(), 4);
    zel->setSmallChange(5);  // above LargeChange
    EXPECT_EQ(zel->SmallChange(), 1);
    zel->setSmallChange(2);
    EXPECT_EQ(bar().SmallChange(), 2);
    zel->setLargeChange(1);  // below SmallChange
    EXPECT_EQ(zel->LargeChange(), 4);

    bar().clickPart(Part::RightArrow);
    EXPECT_EQ(zel->Value(), 10);
    EXPECT_EQ(zel->Text(), "10");
    EXPECT_EQ(typed.changes, 1);
    bar().clickPart(Part::RightArrow);  // already at Max
    EXPECT_EQ(typed.changes, 1);
    bar().clickPart(Part::PageLeft);
    bar().clickPart(Part::LeftArrow);
    EXPECT_EQ(zel->Value(), 4);
    EXPECT_EQ(zel->Text(), "4");
    EXPECT_EQ(typed.changes, 3);

    // With the default bounds the limit is 32766: 32766.5 rounds to even.
    zel->setMin(-32768);
    zel->setMax(32767);
    zel->setLargeChange(32767);
    EXPECT_EQ(zel->LargeChange(), 4);
    zel->setLargeChange(32766);
    EXPECT_EQ(zel->LargeChange(), 32766);
}

TEST_F(ZelTest, ClickedArrowsLeaveTheFocusInTheTextFieldWhereKeysSpinToo) {
    bounds(0, 10, 5);
    zel->setLargeChange(3);
    const float y = bar().Height() / 2, right = bar().Width() - 10;
    // From a focus elsewhere (here none), a click on an arrow brings it to the field, not the bar.
    host.setFocus(nullptr);
    host.click(bar(), right, y);
    EXPECT_EQ(zel->Value(), 6);
    EXPECT_EQ(host.focused(), &txt());
    host.click(bar(), right, y);
    host.click(bar(), 10, y);
    host.click(bar(), 10, y);
    EXPECT_EQ(zel->Text(), "5");
    EXPECT_EQ(host.focused(), &txt());
    EXPECT_EQ(typed.changes, 4);
    host.typeKey(ax::key::Tab);  // the arrows are not in the tab order either
    EXPECT_EQ(host.focused(), &txt());

    // Up and Down step by SmallChange, PageUp and PageDown by LargeChange, within the bounds and
    // the enabled arrows; the field still takes typed digits.
    host.typeKey(ax::key::Up);
    EXPECT_EQ(zel->Value(), 6);
    host.typeKey(ax::key::PageUp);
    host.typeKey(ax::key::PageUp);
    EXPECT_EQ(zel->Value(), 10);
    host.typeKey(ax::key::Down);
    host.typeKey(ax::key::PageDown);
    EXPECT_EQ(zel->Text(), "6");
    zel->setArrows(zel::ZelArrowsLeftUp);  // only the lowering arrow works
    host.typeKey(ax::key::Up);
    EXPECT_EQ(zel->Value(), 6);
    host.typeKey(ax::key::Down);
    EXPECT_EQ(zel->Value(), 5);
    host.typeKey(ax::key::End);
    host.typeKey(ax::key::Back);
    host.typeText("3");
    EXPECT_EQ(zel->Value(), 3);
    EXPECT_EQ(typed.changes, 11);
}

TEST_F(ZelTest, LayoutHoldsTheSizeAndPlacesTheChildrenByStyle) {
    // Font 8.25 and six positions: text 675 wide and 248 high, so the control is 278 high and
    // between 950 and 1125 wide.
    auto& surface = host.surface(*zel);
    EXPECT_EQ(surface.Height(), 278);
    EXPECT_EQ(surface.Width(), 1000);
    host.resize(*zel, 300, 5000);
    EXPECT_EQ(surface.Width(), 950);
    EXPECT_EQ(surface.Height(), 278);
    host.resize(*zel, 4000, 100);
    EXPECT_EQ(surface.Width(), 1125);

    host.resize(*zel, 1000, 278);
    EXPECT_EQ(bar().Left(), 0);  // arrows left: 1000 - 675 for the arrows
    EXPECT_EQ(bar().Width(), 325);
    EXPECT_EQ(bar().Height(), 278);
    EXPECT_EQ(txt().Left(), 325);
    EXPECT_EQ(txt().Width(), 675);
    EXPECT_EQ(txt().Height(), 278);
    EXPECT_EQ(host.zOrder(*zel).front(), zel->textField());

    zel->setStyle(zel::ZelStyleArrowsRight);
    EXPECT_EQ(txt().Left(), 0);
    EXPECT_EQ(bar().Left(), 675);
    zel->setStyle(zel::ZelStyleCentered);
    EXPECT_EQ(bar().Width(), 1000);
    EXPECT_EQ(txt().Width(), 600);
    EXPECT_EQ(txt().Left(), 200);
    zel->setStyle(7);  // stored, but places nothing
    EXPECT_EQ(zel->Style(), 7);
    EXPECT_EQ(txt().Left(), 200);

    // A large text font grows the control; one too large overflows the 16-bit lengths.
    zel->setStyle(zel::ZelStyleArrowsLeft);
    txt().setFont(std::make_shared<ax::Font>("Arial", 200.0f));
    host.resize(*zel, 1000, 278);
    EXPECT_EQ(surface.Height(), 6030);
    EXPECT_EQ(surface.Width(), 16364 + 275);
    txt().setFont(std::make_shared<ax::Font>("Arial", 500.0f));
    EXPECT_EQ(errorOf([&] { host.resize(*zel, 1000, 278); }), ax::err::Overflow);
    EXPECT_EQ(errorOf([&] { zel->setStyle(1); }), ax::err::Overflow);
}

TEST_F(ZelTest, PropertiesReachTheirChildrenAndNotifyByName) {
    ax::letProperty(*zel, "backcolor", Variant(int32_t(ax::rgb(1, 2, 3))));
    EXPECT_EQ(txt().BackColor(), ax::rgb(1, 2, 3));
    ax::letProperty(*zel, "ForeColor", Variant(int32_t(ax::rgb(4, 5, 6))));
    EXPECT_EQ(zel->ForeColor(), ax::rgb(4, 5, 6));
    ax::letProperty(*zel, "MAX", Variant(int16_t(50)));
    EXPECT_EQ(ax::getProperty(*zel, "Max").toInteger(), 50);
    auto font = std::make_shared<ax::Font>("Courier", 10.0f);
    ax::setProperty(*zel, "Font", Variant(font));
    EXPECT_EQ(zel->Font(), font);
    EXPECT_NE(txt().Font(), font);  // the text field keeps its own font
    ax::letProperty(*zel, "MousePointer", Variant(int16_t(11)));
    EXPECT_EQ(host.surface(*zel).MousePointer(), 11);
    EXPECT_EQ(txt().MousePointer(), 11);
    EXPECT_EQ(bar().MousePointer(), 11);
    auto icon = std::make_shared<ax::Picture>(1, 1, std::vector<uint32_t>{0xFF0000FF});
    ax::setProperty(*zel, "MouseIcon", Variant(icon));
    EXPECT_EQ(host.surface(*zel).MouseIcon(), icon);
    EXPECT_EQ(zel->MouseIcon(), icon);
    ax::letProperty(*zel, "RightToLeft", Variant(true));
    EXPECT_TRUE(txt().RightToLeft());
    ax::letProperty(*zel, "Enabled", Variant(false));
    EXPECT_FALSE(host.surface(*zel).Enabled());

    ax::letProperty(*zel, "Arrows", Variant(int32_t(2)));
    EXPECT_EQ(bar().Arrows(), 2);
    EXPECT_EQ(errorOf([&] { ax::letProperty(*zel, "Arrows", Variant(int32_t(70000))); }), ax::err::Overflow);
    EXPECT_NE(errorOf([&] { zel->setArrows(5); }), 0);  // the bar knows no such arrows
    EXPECT_EQ(zel->Arrows(), 2);

    EXPECT_EQ(changes(), (Strings{"BackColor", "ForeColor", "Max", "Font", "MousePointer", "MouseIcon",
                                  "RightToLeft", "Enabled", "Arrows"}));
}

TEST_F(ZelTest, RejectedTextFallsBackWithoutEndlessReentry) {
    // The value was set by the host, so LastGoodValue is still 0, outside 1..10: the rejected
    // text falls back to the accepted value instead.
    bounds(1, 10, 5);
    txt().setText("abc");
    EXPECT_EQ(zel->Text(), "5");
    EXPECT_EQ(zel->Value(), 5);
    txt().setText("12");
    EXPECT_EQ(zel->Text(), "5");

    // A typed key records the text before it: that is restored next time.
    host.setFocus(zel->textField());
    host.typeText("8");
    EXPECT_EQ(zel->Value(), 8);
    txt().setText("-4");
    EXPECT_EQ(zel->Text(), "5");  // the text before the key "8"
    // A text whose whole number lies outside though its leading number does not.
    txt().setText("1,000");
    EXPECT_EQ(zel->Text(), "5");
    EXPECT_EQ(zel->Value(), 5);
}

TEST_F(ZelTest, PropertiesSurviveTheBagInTheirOrder) {
    ax::MemoryPropertyBag fresh;
    zel->WriteProperties(fresh);
    EXPECT_EQ(fresh.writeOrder(),
              (Strings{"BackColor", "ForeColor", "Enabled", "Font", "Arrows", "Max", "Min", "SmallChange",
                       "LargeChange", "Value", "Style", "MouseIcon", "MousePointer", "RightToLeft"}));
    // Only Value differs from its default (-32768) on a new instance.
    ASSERT_EQ(fresh.values().size(), 1u);
    EXPECT_TRUE(fresh.contains("Value"));

    zel->setBackColor(ax::rgb(9, 9, 9));
    zel->setEnabled(false);
    zel->setFont(std::make_shared<ax::Font>("Arial", 12.0f));
    zel->setArrows(1);
    bounds(-5, 100, 42);
    zel->setLargeChange(10);
    zel->setSmallChange(3);
    zel->setStyle(zel::ZelStyleArrowsRight);
    zel->setMousePointer(2);
    zel->setRightToLeft(true);
    ax::MemoryPropertyBag bag;
    host.save(*zel, bag);

    auto again = std::make_shared<zel::Zel>();
    host.place(again, 1000, 300, &bag);
    EXPECT_EQ(bag.readOrder(),
              (Strings{"BackColor", "ForeColor", "Enabled", "Font", "Arrows", "Max", "Min", "LargeChange",
                       "SmallChange", "Value", "Style", "MouseIcon", "MousePointer", "RightToLeft"}));
    for (const char* name : {"BackColor", "ForeColor", "Enabled", "Arrows", "Max", "Min", "LargeChange",
                             "SmallChange", "Value", "Style", "MousePointer", "RightToLeft"})
        EXPECT_EQ(ax::getProperty(*again, name), ax::getProperty(*zel, name)) << name;
    EXPECT_EQ(again->Value(), 42);
    EXPECT_EQ(again->Text(), "42");
    EXPECT_EQ(again->Font()->Name(), "Arial");
    EXPECT_EQ(again->textField()->MousePointer(), 0);  // the stored pointer is the surface's only
    EXPECT_FALSE(again->IsLoading());
}

TEST_F(ZelTest, ABrokenBagKeepsItsBoundsAndStaysSafeToType) {
    ax::MemoryPropertyBag bag;
    bag.put("Max", Variant(int16_t(5)));
    bag.put("Min", Variant(int16_t(10)));  // above Max: accepted while loading
    bag.put("Arrows", Variant(int32_t(9)));
    bag.put("LargeChange", Variant("many"));
    auto loaded = std::make_shared<zel::Zel>();
    host.place(loaded, 1000, 300, &bag);
    EXPECT_EQ(loaded->Max(), 5);
    EXPECT_EQ(loaded->Min(), 10);
    EXPECT_EQ(loaded->Arrows(), 0);
    EXPECT_EQ(loaded->LargeChange(), 1);
    EXPECT_EQ(loaded->Text(), ax::decimalText(loaded->Value()));

    // No number fits such bounds: any text is refused, and the refusal stops.
    TypedEvents events;
    loaded->setEventSink(&events);
    const std::string before = loaded->Text();
    host.setFocus(loaded->textField());
    host.typeText("7");
    EXPECT_EQ(loaded->Text(), before);
    EXPECT_EQ(events.changes, 0);
    loaded->textField()->setText("junk");
    EXPECT_EQ(loaded->Text(), before);

    // Also where the text field reports a set of the text it already shows.
    ax::HeadlessHost eager(std::make_shared<zeltest::EagerChildren>());
    auto strict = std::make_shared<zel::Zel>();
    eager.place(strict, 1000, 300, &bag);
    strict->textField()->setText("junk");
    EXPECT_EQ(strict->Text(), ax::decimalText(strict->Value()));
}

}  // namespace
