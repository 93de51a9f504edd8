#include "platform/headless/headless_children.h"

#include "platform/controls/headless/check_box.h"
#include "platform/controls/headless/combo_box.h"
#include "platform/controls/headless/dt_picker.h"
#include "platform/controls/headless/flat_scroll_bar.h"
#include "platform/controls/headless/image.h"
#include "platform/controls/headless/image_combo.h"
#include "platform/controls/headless/mask_ed_box.h"
#include "platform/controls/headless/text_box.h"
#include "platform/flexgrid/headless_flexgrid.h"

namespace ax {

ChildPtr HeadlessChildFactory::create(ChildKind kind) {
    switch (kind) {
        case ChildKind::FlexGrid:
            return std::make_shared<HeadlessFlexGrid>();
        case ChildKind::TextBox:
            return std::make_shared<HeadlessTextBox>();
        case ChildKind::MaskEdBox:
            return std::make_shared<HeadlessMaskEdBox>();
        case ChildKind::ComboDropDownCombo:
            return std::make_shared<HeadlessComboBox>(ComboBox::Style::DropDownCombo);
        case ChildKind::ComboDropDownList:
            return std::make_shared<HeadlessComboBox>(ComboBox::Style::DropDownList);
        case ChildKind::ImageCombo:
            return std::make_shared<HeadlessImageCombo>();
        case ChildKind::CheckBox:
            return std::make_shared<HeadlessCheckBox>();
        case ChildKind::DTPicker:
            return std::make_shared<HeadlessDTPicker>();
        case ChildKind::Image:
            return std::make_shared<HeadlessImage>();
        case ChildKind::FlatScrollBar:
            return std::make_shared<HeadlessFlatScrollBar>();
    }
    return nullptr;
}

std::unique_ptr<HeadlessHost> makeHeadlessHost() {
    return std::make_unique<HeadlessHost>(std::make_shared<HeadlessChildFactory>());
}

namespace {
std::shared_ptr<ChildFactory> makeFactory() { return std::make_shared<HeadlessChildFactory>(); }

// Loading this library makes the headless children the host's default; unloading it withdraws them.
struct Installer {
    Installer() { setDefaultChildFactory(&makeFactory); }
    ~Installer() {
        if (defaultChildFactory() == &makeFactory) setDefaultChildFactory(nullptr);
    }
} installer;
}  // namespace

}  // namespace ax
