// The headless image combo: an editable text over a list of picture entries, chosen by mouse or
// keys; typing a text selects the entry that reads the same, if any.
#pragma once
#include "platform/controls/headless/appearance.h"
#include "platform/controls/headless/edit_field.h"
#include "platform/controls/headless/field_editing.h"
#include "platform/controls/image_combo.h"

namespace ax {

class HeadlessImageCombo : public ImageCombo, public InputTarget, public FieldEditing {
  public:
    HeadlessImageCombo();

    std::shared_ptr<ax::ImageList> ImageList() const override { return imageList_; }
    void setImageList(std::shared_ptr<ax::ImageList> list) override {
        imageList_ = std::move(list);
        changed();
    }
    std::shared_ptr<ax::ComboItems> ComboItems() const override { return items_; }
    std::shared_ptr<ComboItem> SelectedItem() const override { return items_->selected(); }
    void setSelectedItem(std::shared_ptr<ComboItem> item) override;
    std::string Text() const override { return field_.text(); }
    void setText(const std::string& v) override;
    int32_t SelStart() const override { return field_.selStart(); }
    void setSelStart(int32_t v) override;
    int32_t SelLength() const override { return field_.selLength(); }
    void setSelLength(int32_t v) override;
    std::string SelText() const override { return field_.selText(); }
    bool Locked() const override { return field_.locked; }
    void setLocked(bool v) override {
        field_.locked = v;
        changed();
    }
    AX_HEADLESS_FONT_AND_POINTER
    AX_HEADLESS_COLOURS

    bool DroppedDown() const { return dropped_; }
    void dropDown();
    void closeUp() {
        dropped_ = false;
        changed();
    }
    // The user picks entry index (1..Count, else 380) in the dropped list: it is selected, the
    // list closes, Click is raised.
    void chooseByMouse(int32_t index);

    void keyDown(int16_t& keyCode, int16_t& shift) override;
    void keyPress(int16_t& keyAscii) override;
    void keyUp(int16_t& keyCode, int16_t& shift) override { fire(onKeyUp, keyCode, shift); }
    // A press on the drop-down button drops the list or closes it.
    void mouseDown(int16_t button, int16_t shift, float x, float y) override;

    // TextEditing, on the editable text.
    bool canUndo() const override { return !field_.locked && field_.canUndo(); }
    bool canRedo() const override { return !field_.locked && field_.canRedo(); }
    bool hasSelection() const override { return field_.selLength() > 0; }
    bool readOnly() const override { return field_.locked; }
    void deleteSelection() override;

  private:
    void choose(int32_t index);  // 1-based, by the user
    void typedTextChanged();
    void run(detail::EditField::Command command) override;

    std::shared_ptr<ax::ComboItems> items_ = std::make_shared<ax::ComboItems>();
    std::shared_ptr<ax::ImageList> imageList_;
    detail::EditField field_;
    detail::Appearance look_;
    detail::KeyCharDecoder decoder_;
    bool dropped_ = false;
    bool typing_ = false;  // the text is being typed: a selection change must not rewrite it
};

}  // namespace ax
