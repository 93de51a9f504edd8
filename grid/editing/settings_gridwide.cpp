// Grid-wide editor settings: each stores the grid-wide value and writes it into every column.
#include "grid/editing/column_settings.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/convert.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {

int32_t Vantrel::InputStyle() const { return defaults_.InputStyle; }
void Vantrel::setInputStyle(int32_t value) {
    if (inTransaction_) return;
    defaults_.InputStyle = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) ApplyColumnInputStyle(c, value);
    notify("InputStyle");
}

bool Vantrel::Locked() const { return defaults_.Locked; }
void Vantrel::setLocked(bool value) {
    defaults_.Locked = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) settings_[c].Locked = value;
    notify("Locked");
}

bool Vantrel::LockedCombo() const { return defaults_.LockedCombo; }
void Vantrel::setLockedCombo(bool value) {
    defaults_.LockedCombo = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) settings_[c].LockedCombo = value;
    notify("LockedCombo");
}

ax::PicturePtr Vantrel::MouseIconEditMode() const { return defaults_.MouseIconEditMode; }
void Vantrel::setMouseIconEditMode(ax::PicturePtr value) {
    defaults_.MouseIconEditMode = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) settings_[c].MouseIconEditMode = value;
    notify("MouseIconEditMode");
}

int32_t Vantrel::MousePointerEditMode() const { return defaults_.MousePointerEditMode; }
void Vantrel::setMousePointerEditMode(int32_t value) {
    defaults_.MousePointerEditMode = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) settings_[c].MousePointerEditMode = value;
    notify("MousePointerEditMode");
}

int16_t Vantrel::EditWidthMin() const { return defaults_.EditWidthMin; }
void Vantrel::setEditWidthMin(int16_t value) {
    if (inTransaction_) return;
    if (value < 0 || value > site().Surface().Width()) return;
    defaults_.EditWidthMin = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) settings_[c].EditWidthMin = value;
    notify("EditWidthMin");
}

int16_t Vantrel::TextMaxLength() const { return defaults_.TextMaxLength; }
void Vantrel::setTextMaxLength(int16_t value) {
    if (value < 0) return;
    defaults_.TextMaxLength = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) settings_[c].TextMaxLength = value;
    notify("TextMaxLength");
}

std::string Vantrel::MaskEditMask() const { return defaults_.MaskEditMask; }
void Vantrel::setMaskEditMask(const std::string& value) {
    if (inTransaction_ || value == defaults_.MaskEditMask) return;
    defaults_.MaskEditMask = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) {
        settings_[c].MaskEditMask = value;
        convertColumnWhen(c, MaskEDBox);
    }
    notify("MaskEditMask");
}

std::string Vantrel::MaskEditPromptChar() const { return defaults_.MaskEditPromptChar; }
void Vantrel::setMaskEditPromptChar(const std::string& value) {
    if (inTransaction_) return;
    defaults_.MaskEditPromptChar = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) settings_[c].MaskEditPromptChar = value;
    notify("MaskEditPromptChar");
}

bool Vantrel::DTPickCheckBox() const { return defaults_.DTPickCheckBox; }
void Vantrel::setDTPickCheckBox(bool value) {
    defaults_.DTPickCheckBox = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) settings_[c].DTPickCheckBox = value;
    notify("DTPickCheckBox");
}

// The five calendar colours share one shape: the grid-wide field and the column field it feeds.
#define VANTREL_GRID_COLOUR(Name)                                                  \
    ax::OleColor Vantrel::Name() const { return defaults_.Name; }                  \
    void Vantrel::set##Name(ax::OleColor value) {                                  \
        defaults_.Name = value;                                                    \
        for (int32_t c = 0; c < settingsColumns(); ++c) settings_[c].Name = value; \
        notify(#Name);                                                             \
    }
VANTREL_GRID_COLOUR(DTPickCalendarBackColor)
VANTREL_GRID_COLOUR(DTPickCalendarForeColor)
VANTREL_GRID_COLOUR(DTPickCalendarTitleBackColor)
VANTREL_GRID_COLOUR(DTPickCalendarTitleForeColor)
VANTREL_GRID_COLOUR(DTPickCalendarTrailingForeColor)
#undef VANTREL_GRID_COLOUR

int32_t Vantrel::DTPickFormat() const { return defaults_.DTPickFormat; }
void Vantrel::setDTPickFormat(int32_t value) {
    if (inTransaction_) return;
    defaults_.DTPickFormat = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) {
        const int32_t written = settings_[c].DTPickFormat;
        settings_[c].DTPickFormat = value;
        if (settings_[c].InputStyle == DTPicker)
            ConvertColumnCells(c, FlexGrid_->FixedRows(), FlexGrid_->Rows() - 1, DTPicker, written);
    }
    notify("DTPickFormat");
}

ax::Date Vantrel::DTPickMaxDate() const { return ax::Date{defaults_.DTPickMaxDate}; }
void Vantrel::setDTPickMaxDate(ax::Date value) {
    const double v = value.value;
    if (v == defaults_.DTPickMaxDate || v < defaults_.DTPickMinDate) return;
    defaults_.DTPickMaxDate = v;
    for (int32_t c = 0; c < settingsColumns(); ++c) {
        ColumnSettings& column = settings_[c];
        if (column.DTPickMaxDate == v || column.DTPickMinDate > v) continue;
        column.DTPickMaxDate = v;
        convertColumnWhen(c, DTPicker);
    }
    notify("DTPickMaxDate");
}

ax::Date Vantrel::DTPickMinDate() const { return ax::Date{defaults_.DTPickMinDate}; }
void Vantrel::setDTPickMinDate(ax::Date value) {
    const double v = value.value;
    if (v == defaults_.DTPickMinDate || v > defaults_.DTPickMaxDate) return;
    defaults_.DTPickMinDate = v;
    for (int32_t c = 0; c < settingsColumns(); ++c) {
        ColumnSettings& column = settings_[c];
        if (column.DTPickMinDate == v || column.DTPickMaxDate < v) continue;
        column.DTPickMinDate = v;
        convertColumnWhen(c, DTPicker);
    }
    notify("DTPickMinDate");
}

bool Vantrel::DTPickUpDown() const { return defaults_.DTPickUpDown; }
void Vantrel::setDTPickUpDown(bool value) {
    defaults_.DTPickUpDown = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) settings_[c].DTPickUpDown = value;
    notify("DTPickUpDown");
}

int16_t Vantrel::ZelPickerMax() const { return defaults_.ZelPickerMax; }
void Vantrel::setZelPickerMax(int16_t value) {
    if (inTransaction_ || value < defaults_.ZelPickerMin) return;
    defaults_.ZelPickerMax = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) {
        ColumnSettings& column = settings_[c];
        column.ZelPickerMax = value;
        if (column.ZelPickerInitValue > value) column.ZelPickerInitValue = value;
        convertColumnWhen(c, ZelPicker);
    }
    notify("ZelPickerMax");
}

int16_t Vantrel::ZelPickerMin() const { return defaults_.ZelPickerMin; }
void Vantrel::setZelPickerMin(int16_t value) {
    if (inTransaction_ || value > defaults_.ZelPickerMax) return;
    defaults_.ZelPickerMin = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) {
        ColumnSettings& column = settings_[c];
        column.ZelPickerMin = value;
        if (column.ZelPickerInitValue < value) column.ZelPickerInitValue = value;
        convertColumnWhen(c, ZelPicker);
    }
    notify("ZelPickerMin");
}

int16_t Vantrel::ZelPickerInitValue() const { return defaults_.ZelPickerInitValue; }
void Vantrel::setZelPickerInitValue(int16_t value) {
    if (value < defaults_.ZelPickerMin || value > defaults_.ZelPickerMax) return;
    defaults_.ZelPickerInitValue = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) settings_[c].ZelPickerInitValue = value;
    notify("ZelPickerInitValue");
}

int16_t Vantrel::ZelPickerSmallChange() const { return defaults_.ZelPickerSmallChange; }
void Vantrel::setZelPickerSmallChange(int16_t value) {
    if (value < 1) return;
    defaults_.ZelPickerSmallChange = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) settings_[c].ZelPickerSmallChange = value;
    notify("ZelPickerSmallChange");
}

int16_t Vantrel::ZelPickerLargeChange() const { return defaults_.ZelPickerLargeChange; }
void Vantrel::setZelPickerLargeChange(int16_t value) {
    if (value < 1) return;
    defaults_.ZelPickerLargeChange = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) settings_[c].ZelPickerLargeChange = value;
    notify("ZelPickerLargeChange");
}

int32_t Vantrel::ZelPickerStyle() const { return defaults_.ZelPickerStyle; }
void Vantrel::setZelPickerStyle(int32_t value) {
    // A column keeps the style in 16 bits: a value that does not fit fails with overflow (6).
    const int16_t columnValue = ax::narrow16(value);
    defaults_.ZelPickerStyle = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) settings_[c].ZelPickerStyle = columnValue;
    notify("ZelPickerStyle");
}

}  // namespace vantrel
