#include "grid/editing/edit_engine.h"

#include "grid/editing/column_settings.h"
#include "grid/editing/editors/cell_editor.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/controls/dt_picker.h"
#include "platform/controls/image.h"
#include "platform/flexgrid/flexgrid.h"
#include "platform/host/child.h"

namespace vantrel {

EditEngine::EditEngine(Vantrel& grid) : grid_(grid) { editors_ = makeCellEditors(*this); }

EditEngine::~EditEngine() = default;

// --- start rule -------------------------------------------------------------------------------------

void EditEngine::BeginCellEdit(int16_t& KeyAscii) {
    if (KeyAscii == 27 || !NoEditorVisible()) return;
    ax::FlexGrid& fg = flex();
    const int32_t col = fg.Col();
    if (col < 0 || col >= static_cast<int32_t>(grid_.settings_.size())) return;
    if (grid_.settings_[col].Locked) return;
    if (col < fg.FixedCols() || fg.Row() < fg.FixedRows()) return;
    // The date editor does not hold off a new edit; it ends first (its value is already in its cell),
    // so it never stays over a cell that is no longer the one being edited.
    if (grid_.DTPick_ && grid_.DTPick_->Visible()) grid_.DTPick_->setVisible(false);

    EditCol = col;
    EditRow = fg.Row();
    EditStartText = fg.TextMatrix(EditRow, EditCol);
    const ColumnSettings& cs = grid_.settings_[col];
    if (cs.MaintainData) {
        EditStartData = EditRow >= 0 && EditRow < static_cast<int32_t>(cs.MaintainedStrings.size())
                            ? cs.MaintainedStrings[EditRow]
                            : std::string();
    }
    // The cell's effective colours: its own, or the grid's where it has none.
    const ax::OleColor back = fg.CellBackColor();
    EditBackColor = back != 0 ? back : fg.BackColor();
    const ax::OleColor fore = fg.CellForeColor();
    EditForeColor = fore != 0 ? fore : fg.ForeColor();

    EditArmed = false;
    for (auto& editor : editors_) {
        if (editor->TryShowEditor()) {
            EditArmed = true;
            return;
        }
    }
}

void EditEngine::SetEditorsVisible(bool visible) {
    const ax::Child* inner = grid_.FlexGrid_.get();
    // A copy: hiding a focused editor runs its focus-loss handler, which must not disturb the walk.
    const std::vector<ax::ChildPtr> children = grid_.children_;
    for (const auto& child : children) {
        if (child && child.get() != inner) child->setVisible(visible);
    }
}

bool EditEngine::NoEditorVisible() const {
    const ax::Child* inner = grid_.FlexGrid_.get();
    const ax::Child* date = grid_.DTPick_.get();
    for (const auto& child : grid_.children_) {
        if (!child || child.get() == inner || child.get() == date) continue;
        if (child->Visible()) return false;
    }
    return true;
}

// --- services for the editors -------------------------------------------------------------------------

ax::FlexGrid& EditEngine::flex() const { return *grid_.FlexGrid_; }
ax::TextBox* EditEngine::txtBox() const { return grid_.TxtBox_.get(); }
ax::MaskEdBox* EditEngine::maskEdit() const { return grid_.MaskEdit_.get(); }
ax::ComboBox* EditEngine::comboBx() const { return grid_.ComboBx_.get(); }
ax::ComboBox* EditEngine::comboBxDropDown() const { return grid_.ComboBxDropDown_.get(); }
ax::ImageCombo* EditEngine::imgCombo() const { return grid_.ImgCombo_.get(); }
ax::CheckBox* EditEngine::chckBox() const { return grid_.ChckBox_.get(); }
ax::DTPicker* EditEngine::dtPick() const { return grid_.DTPick_.get(); }
const ax::ComponentChild& EditEngine::zelPick() const { return grid_.ZelPick_; }

ax::PicturePtr EditEngine::checkedPicture() const {
    return grid_.ImgChecked_ ? grid_.ImgChecked_->Picture() : ax::emptyPicture();
}

const ax::Locale& EditEngine::locale() const { return grid_.site().AmbientLocale(); }

// The host may shrink the grid under an open editor: a column that has gone is out of range, as
// for any other access to the settings array.
ColumnSettings& EditEngine::editColumn() const {
    if (EditCol < 0 || EditCol >= static_cast<int32_t>(grid_.settings_.size()))
        ax::raise(ax::err::SubscriptOutOfRange);
    return grid_.settings_[static_cast<size_t>(EditCol)];
}

int32_t EditEngine::editKind() const {
    if (EditCol < 0 || EditCol >= static_cast<int32_t>(grid_.settings_.size())) return None;
    return grid_.settings_[EditCol].InputStyle;
}

int32_t EditEngine::itemCount() const { return editColumn().itemCount(); }

bool EditEngine::editCellExists() const {
    const ax::FlexGrid& fg = flex();
    return EditRow >= 0 && EditRow < fg.Rows() && EditCol >= 0 && EditCol < fg.Cols();
}

// A cell that the host removed under an open editor takes nothing; no other cell is written instead.
void EditEngine::writeCell(const std::string& text) const {
    if (editCellExists()) flex().setTextMatrix(EditRow, EditCol, text);
}

bool EditEngine::maintainsData() const { return editColumn().MaintainData; }

void EditEngine::writeMaintained(const std::string& value) const {
    ColumnSettings& cs = editColumn();
    if (!cs.MaintainData) return;
    // The strings follow the rows; a row beyond them (the grid shrank under an open editor) has none.
    if (EditRow >= 0 && EditRow < static_cast<int32_t>(cs.MaintainedStrings.size()))
        cs.MaintainedStrings[EditRow] = value;
}

CellGeometry EditEngine::geometry() const {
    ax::FlexGrid& fg = flex();
    CellGeometry g;
    g.top = fg.Top() + static_cast<float>(fg.CellTop());
    g.left = fg.Left() + static_cast<float>(fg.CellLeft());
    g.width = static_cast<float>(fg.CellWidth());
    g.height = static_cast<float>(fg.CellHeight());
    g.widthFloor = editColumn().EditWidthMin;
    g.fontSize = fg.CellFontSize();
    return g;
}

ax::FontPtr EditEngine::cellFont(const ax::FontPtr& current) const {
    ax::FlexGrid& fg = flex();
    ax::FontPtr f = current ? current->clone() : std::make_shared<ax::Font>();
    f->setName(fg.CellFontName());
    f->setSize(fg.CellFontSize());
    f->setBold(fg.CellFontBold());
    f->setStrikethrough(fg.CellFontStrikeThrough());
    f->setUnderline(fg.CellFontUnderline());
    return f;
}

int16_t EditEngine::mousePointer() const { return ax::narrow16(editColumn().MousePointerEditMode); }

ax::PicturePtr EditEngine::mouseIcon() const { return editColumn().MouseIconEditMode; }

void EditEngine::showInFront(ax::Child& editor) {
    editor.setVisible(true);
    editor.ZOrder(0);
    editor.SetFocus();
}

void EditEngine::focusGrid() const { flex().SetFocus(); }

void EditEngine::raiseClick() const { grid_.raiseEvent(1, &VantrelEvents::Click); }

void EditEngine::raiseKeyDown(int16_t& keyCode, int16_t& shift) const {
    grid_.raiseEvent(3, &VantrelEvents::KeyDown, keyCode, shift);
}

void EditEngine::raiseKeyPress(int16_t& keyAscii) const {
    grid_.raiseEvent(4, &VantrelEvents::KeyPress, keyAscii);
}

void EditEngine::raiseKeyUp(int16_t& keyCode, int16_t& shift) const {
    grid_.raiseEvent(5, &VantrelEvents::KeyUp, keyCode, shift);
}

}  // namespace vantrel
