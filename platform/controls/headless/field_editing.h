// The context menu's commands of a control whose text lives in an edit field: each goes through the
// control's own run(), which applies its rules (lock, events, limits) around the field's command.
#pragma once
#include "platform/controls/headless/edit_field.h"
#include "platform/controls/text_editing.h"

namespace ax {

class FieldEditing : public TextEditing {
  public:
    void cut() override { run(detail::EditField::Command::Cut); }
    void copy() override { run(detail::EditField::Command::Copy); }
    void paste() override { run(detail::EditField::Command::Paste); }
    void undo() override { run(detail::EditField::Command::Undo); }
    void redo() override { run(detail::EditField::Command::Redo); }
    void selectAll() override { run(detail::EditField::Command::SelectAll); }

  protected:
    virtual void run(detail::EditField::Command command) = 0;
};

}  // namespace ax
