// The settings array and the rules that set up a column for an editor kind.
#include "grid/editing/column_settings.h"

#include <algorithm>

#include "grid/frame/vantrel.h"
#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/controls/image_combo.h"
#include "platform/controls/mask_ed_box.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {

double defaultMaxDate() {
    static const double d = ax::toAutomationDate({9999, 12, 31}).value;
    return d;
}

double defaultMinDate() {
    static const double d = ax::toAutomationDate({1601, 1, 1}).value;
    return d;
}

std::string_view datePattern(int32_t code) {
    switch (code) {
        case 1:
            return "dd/mm/yy";
        case 2:
            return "dd-mmm-yy";
        case 3:
            return "dd mmmm,yy";
        case 4:
            return "dd/mm/yyyy";
        case 5:
            return "dd-mmm-yyyy";
        case 6:
            return "dd mmmm,yyyy";
        case 7:
            return "mm/dd/yy";
        case 8:
            return "mm/dd/yyyy";
        case 9:
            return "hh:mm:ss";
        case 10:
            return "hh:mm:ss AMPM";
        default:
            return "";
    }
}

ColumnDateReader::ColumnDateReader(int32_t format, const ax::Locale& locale)
    : locale_(locale), pattern_(datePattern(format)) {
    std::optional<ax::Locale::DateOrder> order;
    if (format == 1 || format == 4) order = ax::Locale::DateOrder::DayMonthYear;
    if (format == 7 || format == 8) order = ax::Locale::DateOrder::MonthDayYear;
    if (order && *order != locale.dateOrder) {
        patternOrder_ = locale;
        patternOrder_->dateOrder = *order;
    }
}

std::optional<ax::Date> ColumnDateReader::read(std::string_view text) const {
    if (patternOrder_) {
        if (auto date = ax::parseDate(text, *patternOrder_);
            date && ax::formatDate(*date, pattern_, locale_) == text)
            return date;
    }
    return ax::parseDate(text, locale_);
}

int32_t Vantrel::settingsColumns() const {
    return std::min<int32_t>(FlexGrid_->Cols(), static_cast<int32_t>(settings_.size()));
}

ColumnSettings& Vantrel::currentColumn() { return settingsAt(FlexGrid_->Col()); }
const ColumnSettings& Vantrel::currentColumn() const { return settingsAt(FlexGrid_->Col()); }

bool Vantrel::kindInitialisesNewRows(int32_t kind) {
    return kind == CheckBox || kind == ZelPicker || kind == MaskEDBox;
}

void Vantrel::copyKindDefaults(ColumnSettings& column, int32_t kind) const {
    const GridDefaults& d = defaults_;
    switch (kind) {
        case MaskEDBox:
            column.MaskEditMask = d.MaskEditMask;
            column.MaskEditPromptChar = d.MaskEditPromptChar;
            break;
        case DTPicker:
            column.DTPickCalendarBackColor = d.DTPickCalendarBackColor;
            column.DTPickCalendarForeColor = d.DTPickCalendarForeColor;
            column.DTPickCalendarTitleBackColor = d.DTPickCalendarTitleBackColor;
            column.DTPickCalendarTitleForeColor = d.DTPickCalendarTitleForeColor;
            column.DTPickCalendarTrailingForeColor = d.DTPickCalendarTrailingForeColor;
            column.DTPickCheckBox = d.DTPickCheckBox;
            column.DTPickFormat = d.DTPickFormat;
            column.DTPickMaxDate = d.DTPickMaxDate;
            column.DTPickMinDate = d.DTPickMinDate;
            column.DTPickUpDown = d.DTPickUpDown;
            break;
        case ZelPicker:
            column.ZelPickerLargeChange = d.ZelPickerLargeChange;
            column.ZelPickerSmallChange = d.ZelPickerSmallChange;
            column.ZelPickerMax = d.ZelPickerMax;
            column.ZelPickerMin = d.ZelPickerMin;
            // The grid-wide style is a 32-bit enumeration; a column keeps it in 16 bits.
            column.ZelPickerStyle = ax::narrow16(d.ZelPickerStyle);
            column.ZelPickerInitValue = d.ZelPickerInitValue;
            break;
        default:
            break;
    }
}

void Vantrel::convertColumn(int32_t col) {
    ConvertColumnCells(col, FlexGrid_->FixedRows(), FlexGrid_->Rows() - 1, settingsAt(col).InputStyle);
}

bool Vantrel::ApplyColumnInputStyle(int32_t col, int32_t kind) {
    ColumnSettings& column = settingsAt(col);
    if (column.InputStyle == kind) return false;
    column.InputStyle = kind;
    copyKindDefaults(column, kind);
    switch (kind) {
        case MaskEDBox:
        case ComboDropDown:
        case DTPicker:
        case CheckBox:
        case ZelPicker:
            ConvertColumnCells(col, FlexGrid_->FixedRows(), FlexGrid_->Rows() - 1, kind);
            break;
        default:
            break;
    }
    return true;
}

void Vantrel::ReDimArray() {
    try {
        ax::FlexGrid& g = *FlexGrid_;
        if (g.Cols() > g.FixedCols() && g.Rows() > g.FixedRows()) {
            g.setRow(g.FixedRows());
            g.setCol(g.FixedCols());
        }
        // A one-entry array counts as empty: its entry is set up afresh.
        int32_t start = static_cast<int32_t>(settings_.size());
        if (start == 1) start = 0;
        const int32_t cols = g.Cols();
        if (cols == 0) {
            settings_.assign(1, ColumnSettings{});
            countCellsBeside(0, shadowCells_);
            return;
        }
        settings_.resize(static_cast<size_t>(cols));
        for (int32_t c = start; c < cols; ++c) {
            ColumnSettings& column = settings_[static_cast<size_t>(c)];
            column = ColumnSettings{};
            column.InputStyle = defaults_.InputStyle;
            column.DTPickCheckBox = defaults_.DTPickCheckBox;
            column.Locked = defaults_.Locked;
            column.LockedCombo = defaults_.LockedCombo;
            column.MouseIconEditMode = defaults_.MouseIconEditMode;
            copyKindDefaults(column, column.InputStyle);
            switch (column.InputStyle) {
                case MaskEDBox:
                case ComboDropDown:
                case DTPicker:
                case CheckBox:
                case ZelPicker:
                    convertColumn(c);
                    break;
                default:
                    break;
            }
        }
        // Columns cut off took their maintained strings with them; fresh ones keep none.
        int32_t maintained = 0;
        for (const ColumnSettings& column : settings_) maintained += column.MaintainData ? 1 : 0;
        countCellsBeside(maintained, shadowCells_);
    } catch (const ax::AutomationError& e) {
        site().MsgBox(std::to_string(e.number()) + ": " + e.description(), ax::mb::OkOnly | ax::mb::Critical,
                      "Vantrel.ReDimArray ");
    }
}

void Vantrel::SetMouseIconEditMode(const ax::Variant& index, int32_t col) {
    // Null joined with "" is "", as empty as an empty text.
    if (index.isNull() || index.isEmpty() || ax::cStr(index).empty()) return;
    const std::shared_ptr<ax::ImageList> list = ImgCombo_->ImageList();
    if (!list) return;
    ax::PicturePtr picture;
    try {
        picture = list->ListImages()->Item(index)->Picture();
    } catch (const ax::AutomationError&) {
        return;  // a number or key the list does not hold
    }
    if (col == -1)
        setMouseIconEditMode(picture);
    else if (col >= 0 && col < FlexGrid_->Cols())
        settingsAt(col).MouseIconEditMode = picture;
}

bool Vantrel::MaskEditAllowPrompt() const { return MaskEdit_->AllowPrompt(); }
bool Vantrel::MaskEditPromptInclude() const { return MaskEdit_->PromptInclude(); }

}  // namespace vantrel
