// The date editor of DTPicker columns: the cell shows the picker's date in the column's pattern
// from the moment it opens; clearing the picker's check box empties the cell.
#include <cmath>

#include "grid/editing/column_settings.h"
#include "grid/editing/edit_engine.h"
#include "grid/editing/editors/editor_kinds.h"
#include "platform/automation/convert.h"
#include "platform/controls/dt_picker.h"

namespace vantrel {
namespace {

class DateEditor final : public CellEditor {
  public:
    DateEditor(EditEngine& engine, ax::DTPicker& picker) : engine_(engine), picker_(picker) {
        picker_.onChange = [this] {
            if (engine_.EditArmed && picker_.Visible()) WriteBackEditor();
        };
        picker_.onKeyDown = [this](int16_t& keyCode, int16_t& shift) {
            if (keyCode == 13 || keyCode == 27) engine_.raiseKeyDown(keyCode, shift);
        };
        picker_.onKeyPress = [this](int16_t& key) { keyPress(key); };
        picker_.onLostFocus = [this] { picker_.setVisible(false); };
    }
    ~DateEditor() override {
        picker_.onChange = nullptr;
        picker_.onKeyDown = nullptr;
        picker_.onKeyPress = nullptr;
        picker_.onLostFocus = nullptr;
    }

    bool TryShowEditor() override {
        if (engine_.editKind() != DTPicker) return false;
        const ColumnSettings& cs = engine_.editColumn();
        picker_.setFont(engine_.cellFont(picker_.Font()));
        const CellGeometry g = engine_.geometry();
        picker_.setTop(g.top);
        picker_.setLeft(g.left);
        picker_.setWidth(
            raisedTo(raisedTo(g.width, static_cast<float>(g.fontSize * 35 * 4.3)), g.widthFloor));
        picker_.setHeight(raisedTo(g.height, g.fontSize * 35));

        picker_.setMousePointer(engine_.mousePointer());
        picker_.setMouseIcon(engine_.mouseIcon());
        picker_.setCheckBox(cs.DTPickCheckBox);
        picker_.setCalendarBackColor(cs.DTPickCalendarBackColor);
        picker_.setCalendarForeColor(cs.DTPickCalendarForeColor);
        picker_.setCalendarTitleBackColor(cs.DTPickCalendarTitleBackColor);
        picker_.setCalendarTitleForeColor(cs.DTPickCalendarTitleForeColor);
        picker_.setCalendarTrailingForeColor(cs.DTPickCalendarTrailingForeColor);
        // The picker refuses a maximum below its minimum: a range wholly below the previous one
        // gets its minimum first. The range that results is the column's either way.
        if (cs.DTPickMaxDate < picker_.MinDate().value) picker_.setMinDate(ax::Date{cs.DTPickMinDate});
        picker_.setMaxDate(ax::Date{cs.DTPickMaxDate});
        picker_.setMinDate(ax::Date{cs.DTPickMinDate});
        picker_.setUpDown(cs.DTPickUpDown);
        picker_.setFormat(1);
        if (cs.DTPickFormat >= 9) picker_.setFormat(2);

        if (auto date = ColumnDateReader(cs.DTPickFormat, engine_.locale()).read(engine_.EditStartText)) {
            picker_.setValue(ax::Variant(withinRange(*date, cs)));
        } else if (picker_.CheckBox()) {
            picker_.setValue(ax::Variant(ax::today()));
        } else {
            picker_.setValue(ax::Variant(std::string()));
        }

        EditEngine::showInFront(picker_);
        WriteBackEditor();  // the cell shows the picker's value in the column's pattern at once
        return true;
    }

    void WriteBackEditor() override {
        const ax::Variant value = picker_.Value();
        if (value.isNull() || value.isEmpty() || (value.isString() && value.get<std::string>()->empty())) {
            engine_.writeCell("");
        } else {
            engine_.writeCell(ax::formatDate(value.toDate(), datePattern(engine_.editColumn().DTPickFormat),
                                             engine_.locale()));
        }
    }

  private:
    // A cell date outside the column's range opens the picker at the nearest end of the range (the
    // cell then shows that date; Esc brings the original text back), so the editor always opens.
    static ax::Date withinRange(ax::Date date, const ColumnSettings& cs) {
        if (date.value < cs.DTPickMinDate) return ax::Date{cs.DTPickMinDate};
        if (std::floor(date.value) > cs.DTPickMaxDate) return ax::Date{cs.DTPickMaxDate};
        return date;
    }

    // Only Enter and Esc are the editor's; the host hears them after the editor has read the key.
    void keyPress(int16_t& key) {
        if (!picker_.Visible()) return;
        const int16_t typed = key;
        if (typed != 13 && typed != 27) return;
        engine_.raiseKeyPress(key);
        if (typed == 27) engine_.writeCell(engine_.EditStartText);
        picker_.setVisible(false);
    }

    EditEngine& engine_;
    ax::DTPicker& picker_;
};

}  // namespace

std::unique_ptr<CellEditor> makeDateEditor(EditEngine& engine) {
    ax::DTPicker* picker = engine.dtPick();
    return picker ? std::make_unique<DateEditor>(engine, *picker) : nullptr;
}

}  // namespace vantrel
