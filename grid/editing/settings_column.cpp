// Per-column editor settings: each acts on the record of the current column (the inner grid's Col)
// and is refused at design time.
#include "grid/editing/column_settings.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/errors.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {

void Vantrel::requireUserMode() const {
    if (!site().UserMode()) ax::raise(ax::err::RunTimeOnly);
}

int32_t Vantrel::ColInputStyle() const {
    requireUserMode();
    return currentColumn().InputStyle;
}
void Vantrel::setColInputStyle(int32_t value) {
    requireUserMode();
    if (inTransaction_) return;
    if (ApplyColumnInputStyle(FlexGrid_->Col(), value)) notify("ColInputStyle");
}

// Members that store into the current column's record and always notify.
#define VANTREL_COLUMN_PLAIN(Type, Name, Field) \
    Type Vantrel::Name() const {                \
        requireUserMode();                      \
        return currentColumn().Field;           \
    }                                           \
    void Vantrel::set##Name(Type value) {       \
        requireUserMode();                      \
        currentColumn().Field = value;          \
        notify(#Name);                          \
    }
VANTREL_COLUMN_PLAIN(bool, ColLocked, Locked)
VANTREL_COLUMN_PLAIN(bool, ColLockedCombo, LockedCombo)
VANTREL_COLUMN_PLAIN(int32_t, ColMousePointerEditMode, MousePointerEditMode)
VANTREL_COLUMN_PLAIN(bool, ColDTPickCheckBox, DTPickCheckBox)
VANTREL_COLUMN_PLAIN(ax::OleColor, ColDTPickCalendarBackColor, DTPickCalendarBackColor)
VANTREL_COLUMN_PLAIN(ax::OleColor, ColDTPickCalendarForeColor, DTPickCalendarForeColor)
VANTREL_COLUMN_PLAIN(ax::OleColor, ColDTPickCalendarTitleBackColor, DTPickCalendarTitleBackColor)
VANTREL_COLUMN_PLAIN(ax::OleColor, ColDTPickCalendarTitleForeColor, DTPickCalendarTitleForeColor)
VANTREL_COLUMN_PLAIN(ax::OleColor, ColDTPickCalendarTrailingForeColor, DTPickCalendarTrailingForeColor)
VANTREL_COLUMN_PLAIN(bool, ColDTPickUpDown, DTPickUpDown)
VANTREL_COLUMN_PLAIN(int16_t, ColZelPickerStyle, ZelPickerStyle)
#undef VANTREL_COLUMN_PLAIN

ax::PicturePtr Vantrel::ColMouseIconEditMode() const {
    requireUserMode();
    return currentColumn().MouseIconEditMode;
}
void Vantrel::setColMouseIconEditMode(ax::PicturePtr value) {
    requireUserMode();
    currentColumn().MouseIconEditMode = std::move(value);
    notify("ColMouseIconEditMode");
}

int16_t Vantrel::ColEditWidthMin() const {
    requireUserMode();
    return currentColumn().EditWidthMin;
}
void Vantrel::setColEditWidthMin(int16_t value) {
    requireUserMode();
    if (inTransaction_) return;
    if (value < 0 || value > site().Surface().Width()) return;
    currentColumn().EditWidthMin = value;
    notify("ColEditWidthMin");
}

int16_t Vantrel::ColTextMaxLength() const {
    requireUserMode();
    return currentColumn().TextMaxLength;
}
void Vantrel::setColTextMaxLength(int16_t value) {
    requireUserMode();
    if (value < 0) return;
    currentColumn().TextMaxLength = value;
    notify("ColTextMaxLength");
}

std::string Vantrel::ColMaskEditMask() const {
    requireUserMode();
    return currentColumn().MaskEditMask;
}
void Vantrel::setColMaskEditMask(const std::string& value) {
    requireUserMode();
    if (inTransaction_) return;
    const int32_t col = FlexGrid_->Col();
    ColumnSettings& column = settingsAt(col);
    if (column.MaskEditMask == value) return;
    column.MaskEditMask = value;
    convertColumnWhen(col, MaskEDBox);
    notify("ColMaskeditMask");
}

std::string Vantrel::ColMaskEditPromptChar() const {
    requireUserMode();
    return currentColumn().MaskEditPromptChar;
}
void Vantrel::setColMaskEditPromptChar(const std::string& value) {
    requireUserMode();
    if (inTransaction_) return;
    currentColumn().MaskEditPromptChar = value;
    notify("ColMaskEditPromptChar");
}

int32_t Vantrel::ColDTPickFormat() const {
    requireUserMode();
    return currentColumn().DTPickFormat;
}
void Vantrel::setColDTPickFormat(int32_t value) {
    requireUserMode();
    if (inTransaction_) return;
    const int32_t col = FlexGrid_->Col();
    ColumnSettings& column = settingsAt(col);
    const int32_t written = column.DTPickFormat;
    column.DTPickFormat = value;
    if (column.InputStyle == DTPicker)
        ConvertColumnCells(col, FlexGrid_->FixedRows(), FlexGrid_->Rows() - 1, DTPicker, written);
    notify("ColDTPickFormat");
}

ax::Date Vantrel::ColDTPickMaxDate() const {
    requireUserMode();
    return ax::Date{currentColumn().DTPickMaxDate};
}
void Vantrel::setColDTPickMaxDate(ax::Date value) {
    requireUserMode();
    const int32_t col = FlexGrid_->Col();
    ColumnSettings& column = settingsAt(col);
    const double v = value.value;
    // The floor is the grid-wide earliest date as well as the column's own.
    if (v < defaults_.DTPickMinDate || v == column.DTPickMaxDate || v < column.DTPickMinDate) return;
    column.DTPickMaxDate = v;
    convertColumnWhen(col, DTPicker);
    notify("ColDTPickMaxDate");
}

ax::Date Vantrel::ColDTPickMinDate() const {
    requireUserMode();
    return ax::Date{currentColumn().DTPickMinDate};
}
void Vantrel::setColDTPickMinDate(ax::Date value) {
    requireUserMode();
    const int32_t col = FlexGrid_->Col();
    ColumnSettings& column = settingsAt(col);
    const double v = value.value;
    if (v == column.DTPickMinDate || v > column.DTPickMaxDate) return;
    column.DTPickMinDate = v;
    convertColumnWhen(col, DTPicker);
    notify("ColDTPickMinDate");
}

int16_t Vantrel::ColZelPickerMax() const {
    requireUserMode();
    return currentColumn().ZelPickerMax;
}
void Vantrel::setColZelPickerMax(int16_t value) {
    requireUserMode();
    if (inTransaction_) return;
    const int32_t col = FlexGrid_->Col();
    ColumnSettings& column = settingsAt(col);
    if (value < column.ZelPickerMin) return;
    column.ZelPickerMax = value;
    if (column.ZelPickerInitValue > value) setColZelPickerInitValue(value);
    convertColumnWhen(col, ZelPicker);
    notify("ColZelPickerMax");
}

int16_t Vantrel::ColZelPickerMin() const {
    requireUserMode();
    return currentColumn().ZelPickerMin;
}
void Vantrel::setColZelPickerMin(int16_t value) {
    requireUserMode();
    if (inTransaction_) return;
    const int32_t col = FlexGrid_->Col();
    ColumnSettings& column = settingsAt(col);
    if (value > column.ZelPickerMax) return;
    column.ZelPickerMin = value;
    if (column.ZelPickerInitValue < value) setColZelPickerInitValue(value);
    convertColumnWhen(col, ZelPicker);
    notify("ColZelPickerMin");
}

int16_t Vantrel::ColZelPickerInitValue() const {
    requireUserMode();
    return currentColumn().ZelPickerInitValue;
}
void Vantrel::setColZelPickerInitValue(int16_t value) {
    requireUserMode();
    const int32_t col = FlexGrid_->Col();
    ColumnSettings& column = settingsAt(col);
    if (value < column.ZelPickerMin || value > column.ZelPickerMax) return;
    column.ZelPickerInitValue = value;
    convertColumnWhen(col, ZelPicker);
    notify("ColZelPickerInitValue");
}

int16_t Vantrel::ColZelPickerSmallChange() const {
    requireUserMode();
    return currentColumn().ZelPickerSmallChange;
}
void Vantrel::setColZelPickerSmallChange(int16_t value) {
    requireUserMode();
    if (value < 1) return;
    currentColumn().ZelPickerSmallChange = value;
    notify("ColZelPickerSmallChange");
}

int16_t Vantrel::ColZelPickerLargeChange() const {
    requireUserMode();
    return currentColumn().ZelPickerLargeChange;
}
void Vantrel::setColZelPickerLargeChange(int16_t value) {
    requireUserMode();
    if (value < 1) return;
    currentColumn().ZelPickerLargeChange = value;
    notify("ColZelPickerLargeChange");
}

}  // namespace vantrel
