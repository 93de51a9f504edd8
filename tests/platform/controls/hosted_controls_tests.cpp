// The controls as children of a control on the headless host: focus moves by clicks, and typing
// reaches whichever child has the focus.
#include <gtest/gtest.h>

#include "platform/controls/headless/check_box.h"
#include "platform/controls/headless/combo_box.h"
#include "platform/controls/headless/mask_ed_box.h"
#include "platform/controls/headless/text_box.h"
#include "platform/host/headless_host.h"

namespace {

class ControlsFactory : public ax::ChildFactory {
  public:
    ax::ChildPtr create(ax::ChildKind kind) override {
        switch (kind) {
            case ax::ChildKind::TextBox:
                return std::make_shared<ax::HeadlessTextBox>();
            case ax::ChildKind::MaskEdBox:
                return std::make_shared<ax::HeadlessMaskEdBox>();
            case ax::ChildKind::ComboDropDownList:
                return std::make_shared<ax::HeadlessComboBox>(ax::ComboBox::Style::DropDownList);
            case ax::ChildKind::CheckBox:
                return std::make_shared<ax::HeadlessCheckBox>();
            default:
                return nullptr;
        }
    }
};

// A form with a few editors, as a host would lay them out.
class Form : public ax::Control {
  public:
    std::shared_ptr<ax::HeadlessTextBox> name;
    std::shared_ptr<ax::HeadlessMaskEdBox> date;
    std::shared_ptr<ax::HeadlessComboBox> colour;
    std::shared_ptr<ax::HeadlessCheckBox> agree;
    std::vector<std::string> log;

    void InitProperties() override {
        name = std::dynamic_pointer_cast<ax::HeadlessTextBox>(
            site().CreateChild(ax::ChildKind::TextBox, "Name"));
        date = std::dynamic_pointer_cast<ax::HeadlessMaskEdBox>(
            site().CreateChild(ax::ChildKind::MaskEdBox, "Date"));
        colour = std::dynamic_pointer_cast<ax::HeadlessComboBox>(
            site().CreateChild(ax::ChildKind::ComboDropDownList, "Colour"));
        agree = std::dynamic_pointer_cast<ax::HeadlessCheckBox>(
            site().CreateChild(ax::ChildKind::CheckBox, "Agree"));
        for (ax::Child* c :
             std::initializer_list<ax::Child*>{name.get(), date.get(), colour.get(), agree.get()}) {
            c->setWidth(1500);
            c->setHeight(300);
            c->setVisible(true);  // children start hidden
            c->onGotFocus = [this, c] { log.push_back(c->Name() + " got"); };
            c->onLostFocus = [this, c] { log.push_back(c->Name() + " lost"); };
        }
        date->setMask("##/##/####");
        colour->AddItem("Red");
        colour->AddItem("Green");
        date->onChange = [this] { log.push_back("Date " + date->Text()); };
        agree->onClick = [this] { log.push_back("Agree " + std::to_string(agree->Value())); };
    }
};

}  // namespace

TEST(HostedControls, TypingFollowsTheFocus) {
    ax::HeadlessHost host(std::make_shared<ControlsFactory>());
    host.setUserMode(true);
    auto form = std::make_shared<Form>();
    host.place(form, 6000, 3000);

    host.click(form->name, 10, 10);
    host.typeText("Zoë");
    host.click(form->date, 10, 10);
    host.typeText("0704");
    host.typeKey(ax::key::Back);
    EXPECT_EQ(form->name->Text(), "Zoë");
    EXPECT_EQ(form->date->Text(), "07/0_/____");
    EXPECT_EQ(form->date->ClipText(), "070");
    EXPECT_EQ(form->log, (std::vector<std::string>{"Name got", "Name lost", "Date got", "Date 0_/__/____",
                                                   "Date 07/__/____", "Date 07/0_/____", "Date 07/04/____",
                                                   "Date 07/0_/____"}));

    // The drop-down list takes arrow keys; the check box the space bar, both only with the focus.
    form->log.clear();
    host.click(form->colour, 10, 10);  // a press on a drop-down list drops it
    EXPECT_TRUE(form->colour->DroppedDown());
    host.typeKey(ax::key::Down);
    host.typeKey(ax::key::Return);
    EXPECT_EQ(form->colour->Text(), "Red");
    EXPECT_FALSE(form->colour->DroppedDown());
    host.typeKey(ax::key::Space);  // not the check box's key while the list has the focus
    EXPECT_EQ(form->agree->Value(), 0);
    form->agree->SetFocus();
    host.typeKey(ax::key::Space);
    EXPECT_EQ(form->agree->Value(), 1);
    host.click(form->agree, 10, 10);
    EXPECT_EQ(form->agree->Value(), 0);
    EXPECT_EQ(form->log, (std::vector<std::string>{"Date lost", "Colour got", "Colour lost", "Agree got",
                                                   "Agree 1", "Agree 0"}));
}
