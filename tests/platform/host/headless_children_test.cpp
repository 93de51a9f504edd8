#include <gtest/gtest.h>

#include "platform/controls/headless/check_box.h"
#include "platform/controls/headless/combo_box.h"
#include "platform/controls/headless/dt_picker.h"
#include "platform/controls/headless/flat_scroll_bar.h"
#include "platform/controls/headless/image.h"
#include "platform/controls/headless/image_combo.h"
#include "platform/controls/headless/mask_ed_box.h"
#include "platform/controls/headless/text_box.h"
#include "platform/flexgrid/headless_flexgrid.h"
#include "platform/headless/headless_children.h"
#include "platform/runtime/registry.h"

namespace {

// A control that asks its site for one child of every kind.
class EveryChild : public ax::Control {
  public:
    void InitProperties() override {
        using K = ax::ChildKind;
        for (K k : {K::FlexGrid, K::TextBox, K::MaskEdBox, K::ComboDropDownCombo, K::ComboDropDownList,
                    K::ImageCombo, K::CheckBox, K::DTPicker, K::Image, K::FlatScrollBar})
            made.push_back(site().CreateChild(k, "C" + std::to_string(made.size())));
    }
    std::vector<ax::ChildPtr> made;
};

template <class T>
bool is(const ax::ChildPtr& c) {
    return std::dynamic_pointer_cast<T>(c) != nullptr;
}

TEST(HeadlessChildren, TheDefaultHostMakesEveryKindFromTheHeadlessControls) {
    ax::HeadlessHost host;  // no factory given: the headless one is the default
    auto control = std::make_shared<EveryChild>();
    host.place(control, 4800, 3600);
    const auto& m = control->made;
    ASSERT_EQ(m.size(), 10u);
    EXPECT_TRUE(is<ax::HeadlessFlexGrid>(m[0]));
    EXPECT_TRUE(is<ax::HeadlessTextBox>(m[1]));
    EXPECT_TRUE(is<ax::HeadlessMaskEdBox>(m[2]));
    ASSERT_TRUE(is<ax::HeadlessComboBox>(m[3]));
    EXPECT_EQ(std::dynamic_pointer_cast<ax::ComboBox>(m[3])->style(), ax::ComboBox::Style::DropDownCombo);
    EXPECT_EQ(std::dynamic_pointer_cast<ax::ComboBox>(m[4])->style(), ax::ComboBox::Style::DropDownList);
    EXPECT_TRUE(is<ax::HeadlessImageCombo>(m[5]));
    EXPECT_TRUE(is<ax::HeadlessCheckBox>(m[6]));
    EXPECT_TRUE(is<ax::HeadlessDTPicker>(m[7]));
    EXPECT_TRUE(is<ax::HeadlessImage>(m[8]));
    EXPECT_TRUE(is<ax::HeadlessFlatScrollBar>(m[9]));

    // Typing reaches a real text box through the host's focus.
    auto text = std::dynamic_pointer_cast<ax::HeadlessTextBox>(m[1]);
    int changes = 0;
    text->onChange = [&] { ++changes; };
    text->onKeyPress = [](int16_t& k) {
        if (k == '-') k = 0;
    };
    text->setVisible(true);
    host.click(text, 10, 10);
    EXPECT_EQ(host.focused(), text.get());
    host.typeText("4-2");
    EXPECT_EQ(text->Text(), "42");
    EXPECT_EQ(changes, 2);
}

// A control that holds a component created by name, as the grid holds its number editor.
class Holder : public ax::Control {
  public:
    void InitProperties() override { spin = site().CreateComponentChild("ZelCtrl.Zel", "ZelPick"); }
    ax::ComponentChild spin;
};

TEST(HeadlessChildren, AComponentChildGetsHeadlessChildrenOfItsOwn) {
    ax::useBuildRegistry(AX_LIB_DIR);
    auto host = ax::makeHeadlessHost();
    host->setUserMode(true);
    auto holder = std::make_shared<Holder>();
    host->place(holder, 4800, 3600);
    ASSERT_TRUE(holder->spin.object);
    holder->spin.extender->setWidth(1200);
    holder->spin.extender->setHeight(300);
    holder->spin.extender->setVisible(true);
    holder->spin.extender->SetFocus();
    // The focus went inside the component, to a real headless text box.
    EXPECT_NE(dynamic_cast<ax::HeadlessTextBox*>(host->focused()), nullptr);
    EXPECT_NE(host->focused(), holder->spin.extender.get());
}

}  // namespace
