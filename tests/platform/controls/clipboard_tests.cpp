// The clipboard, undo and input-method side of the text controls, on the headless host whose clipboard
// the tests read and set: the keys for them arrive as a desktop delivers them, so handlers can refuse them.
#include <gtest/gtest.h>

#include "platform/automation/convert.h"
#include "platform/controls/headless/combo_box.h"
#include "platform/controls/headless/dt_picker.h"
#include "platform/controls/headless/mask_ed_box.h"
#include "platform/controls/headless/text_box.h"
#include "platform/host/headless_host.h"

namespace {

using ax::shiftmask::Ctrl;
using ax::shiftmask::Shift;

class Factory : public ax::ChildFactory {
  public:
    ax::ChildPtr create(ax::ChildKind kind) override {
        switch (kind) {
            case ax::ChildKind::TextBox:
                return std::make_shared<ax::HeadlessTextBox>();
            case ax::ChildKind::MaskEdBox:
                return std::make_shared<ax::HeadlessMaskEdBox>();
            case ax::ChildKind::ComboDropDownCombo:
                return std::make_shared<ax::HeadlessComboBox>(ax::ComboBox::Style::DropDownCombo);
            case ax::ChildKind::ComboDropDownList:
                return std::make_shared<ax::HeadlessComboBox>(ax::ComboBox::Style::DropDownList);
            case ax::ChildKind::DTPicker:
                return std::make_shared<ax::HeadlessDTPicker>();
            default:
                return nullptr;
        }
    }
};

// A control whose only child is of one kind, focused, on a host in run mode.
template <class T>
struct One {
    struct Holder : ax::Control {};
    ax::HeadlessHost host{std::make_shared<Factory>()};
    std::shared_ptr<Holder> holder = std::make_shared<Holder>();
    std::shared_ptr<T> c;
    std::vector<std::string> log;
    explicit One(ax::ChildKind kind) {
        host.setUserMode(true);
        auto site = host.place(holder, 3000, 1000);
        c = std::dynamic_pointer_cast<T>(site->CreateChild(kind, "c"));
        c->setVisible(true);
        c->SetFocus();
        c->onKeyDown = [this](int16_t& k, int16_t&) { log.push_back("KeyDown:" + std::to_string(k)); };
        c->onKeyPress = [this](int16_t& k) { log.push_back("KeyPress:" + std::to_string(k)); };
        c->onChange = [this] { log.push_back("Change"); };
    }
};

}  // namespace

TEST(Clipboard, TheTextBoxCutsCopiesPastesAndUndoesThroughTheHost) {
    One<ax::HeadlessTextBox> t(ax::ChildKind::TextBox);
    ax::HeadlessTextBox& box = *t.c;
    box.setMaxLength(8);
    t.host.typeText("hello");
    t.host.typeKey('A', Ctrl);
    t.host.typeKey('C', Ctrl);
    EXPECT_EQ(t.host.clipboard().text(), "hello");

    // A paste replaces the selection with the first line of the clipboard, cut to the room left.
    t.host.clipboard().setText("pasted text\nsecond line");
    box.setSelStart(5);
    t.host.typeKey(ax::key::Insert, Shift);
    EXPECT_EQ(box.Text(), "hellopas");
    // Undo takes back the paste, then the typed run as one step; redo brings them back.
    t.host.typeKey('Z', Ctrl);
    EXPECT_EQ(box.Text(), "hello");
    t.host.typeKey('Z', Ctrl);
    EXPECT_EQ(box.Text(), "");
    t.host.typeKey('Y', Ctrl);
    t.host.typeKey('Y', Ctrl);
    EXPECT_EQ(box.Text(), "hellopas");
    // Cut (Shift+Delete) puts the selection on the clipboard; a handler that zeroes the key refuses it.
    box.setSelStart(0);
    box.setSelLength(2);
    t.log.clear();
    t.host.typeKey(ax::key::Delete, Shift);
    EXPECT_EQ(t.host.clipboard().text(), "he");
    EXPECT_EQ(box.Text(), "llopas");
    EXPECT_EQ(t.log, (std::vector<std::string>{"KeyDown:46", "Change"}));
    box.onKeyPress = [&t](int16_t& k) {
        t.log.push_back("KeyPress:" + std::to_string(k));
        if (k == ax::editkey::Paste) k = 0;
    };
    t.host.typeKey('V', Ctrl);
    EXPECT_EQ(box.Text(), "llopas");

    // A locked box copies but takes nothing in; the program setting the text forgets the undo steps.
    box.setLocked(true);
    box.selectAll();
    box.copy();
    box.paste();
    box.cut();
    EXPECT_EQ(t.host.clipboard().text(), "llopas");
    EXPECT_EQ(box.Text(), "llopas");
    box.setLocked(false);
    box.setText("new");
    EXPECT_FALSE(box.canUndo());

    // An input method's commit arrives as key presses alone, one per character, limits included.
    t.log.clear();
    box.setSelStart(3);
    t.host.commitText("日本語です");
    EXPECT_EQ(box.Text(), "new日本語です");
    EXPECT_EQ(t.log.front(), "KeyPress:" + std::to_string(0x65E5));
    EXPECT_EQ(std::count(t.log.begin(), t.log.end(), std::string("Change")), 5);
    EXPECT_TRUE(std::none_of(t.log.begin(), t.log.end(), [](auto& s) { return s.starts_with("KeyDown"); }));
}

TEST(Clipboard, TheMaskedBoxPastesThroughItsMask) {
    One<ax::HeadlessMaskEdBox> t(ax::ChildKind::MaskEdBox);
    ax::HeadlessMaskEdBox& box = *t.c;
    box.setMask("##/##/####");
    t.host.clipboard().setText("12312026");
    t.host.typeKey('V', Ctrl);
    EXPECT_EQ(box.Text(), "12/31/2026");
    // Literals in the text step over the mask's; letters fit no digit and are dropped.
    box.selectAll();
    t.host.clipboard().setText("1/2x/");
    t.host.typeKey('V', Ctrl);
    EXPECT_EQ(box.Text(), "1_/2_/____");
    // What is copied pastes back as it was; undo goes back through the pastes.
    box.selectAll();
    box.copy();
    EXPECT_EQ(t.host.clipboard().text(), "1_/2_/____");
    box.undo();
    EXPECT_EQ(box.Text(), "12/31/2026");
    box.setSelStart(3);
    box.setSelLength(2);
    t.host.clipboard().setText("07");
    box.paste();
    EXPECT_EQ(box.Text(), "12/07/2026");
    box.setSelStart(3);
    box.setSelLength(2);
    box.cut();
    EXPECT_EQ(box.Text(), "12/__/2026");
    EXPECT_EQ(t.host.clipboard().text(), "07");
}

TEST(Clipboard, ComboFieldsAndTheDatePickerTakeTheClipboardAsTheirTextsAllow) {
    One<ax::HeadlessComboBox> combo(ax::ChildKind::ComboDropDownCombo);
    combo.c->AddItem("Red");
    combo.c->AddItem("Green");
    combo.host.clipboard().setText("Green");
    combo.host.typeKey('V', Ctrl);
    EXPECT_EQ(combo.c->Text(), "Green");
    EXPECT_EQ(combo.c->ListIndex(), 1);  // the pasted text is the entry that reads the same
    combo.host.typeKey('Z', Ctrl);
    EXPECT_EQ(combo.c->Text(), "");

    One<ax::HeadlessComboBox> list(ax::ChildKind::ComboDropDownList);
    list.c->AddItem("Red");
    list.host.clipboard().setText("Red");
    list.host.typeKey('V', Ctrl);
    EXPECT_EQ(list.c->ListIndex(), -1);
    EXPECT_TRUE(list.c->readOnly());

    One<ax::HeadlessDTPicker> date(ax::ChildKind::DTPicker);
    date.c->setValue(ax::Variant(std::string("3/4/2025")));
    date.host.typeKey(ax::key::Insert, Ctrl);
    EXPECT_EQ(date.host.clipboard().text(), "3/4/2025");
    date.host.clipboard().setText("12/25/2030");
    date.log.clear();
    date.host.typeKey('V', Ctrl);
    EXPECT_EQ(date.c->Text(), "12/25/2030");
    EXPECT_EQ(std::count(date.log.begin(), date.log.end(), std::string("Change")), 1);
    date.host.clipboard().setText("not a date");
    date.c->paste();
    date.c->setMaxDate(ax::cDate(ax::Variant(std::string("1/1/2031"))));
    date.host.clipboard().setText("6/1/2040");  // beyond MaxDate
    date.c->paste();
    EXPECT_EQ(date.c->Text(), "12/25/2030");
}
