// Rewrites the existing cells of a column so that they obey the rule of its editor kind.
#include <cmath>

#include "grid/editing/column_settings.h"
#include "grid/frame/inner_grid_guards.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/convert.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {

namespace {

void limitTexts(ax::FlexGrid& g, int32_t col, int32_t first, int32_t last, int16_t limit) {
    if (limit < 1) return;
    for (int32_t r = first; r <= last; ++r) {
        const std::string text = g.TextMatrix(r, col);
        if (text.size() > static_cast<size_t>(limit) && ax::charCount(text) > static_cast<size_t>(limit))
            g.setTextMatrix(r, col, ax::leftChars(text, limit));
    }
}

bool isItemText(const ColumnSettings& column, const std::string& text) {
    for (size_t i = 1; i < column.ComboItems.size(); ++i)
        if (column.ComboItems[i].Text == text) return true;
    return false;
}

}  // namespace

void Vantrel::ConvertColumnCells(int32_t col, int32_t firstRow, int32_t lastRow, int32_t kind,
                                 int32_t datesWrittenIn) {
    ax::FlexGrid& g = *FlexGrid_;
    const ColumnSettings& column = settingsAt(col);
    RedrawOff quiet(g);
    switch (kind) {
        case TextBox:
        case ComboBox:
        case ImageCombo:
            limitTexts(g, col, firstRow, lastRow, column.TextMaxLength);
            break;
        case MaskEDBox:
            for (int32_t r = firstRow; r <= lastRow; ++r) g.setTextMatrix(r, col, std::string());
            break;
        case ComboDropDown:
            for (int32_t r = firstRow; r <= lastRow; ++r) {
                const std::string text = g.TextMatrix(r, col);
                if (!text.empty() && !isItemText(column, text)) g.setTextMatrix(r, col, std::string());
            }
            break;
        case DTPicker: {
            const ax::Locale& locale = site().AmbientLocale();
            const std::string_view pattern = datePattern(column.DTPickFormat);
            const ColumnDateReader reader(datesWrittenIn >= 0 ? datesWrittenIn : column.DTPickFormat, locale);
            for (int32_t r = firstRow; r <= lastRow; ++r) {
                const std::string text = g.TextMatrix(r, col);
                std::string out;
                if (auto date = reader.read(text)) {
                    const double day = std::trunc(date->value);
                    if (day >= column.DTPickMinDate && day <= column.DTPickMaxDate)
                        out = ax::formatDate(ax::Date{day}, pattern, locale);
                }
                if (out != text) g.setTextMatrix(r, col, out);
            }
            break;
        }
        case CheckBox: {
            if (firstRow > lastRow) break;
            CurrentCellKept keep(g);
            for (int32_t r = firstRow; r <= lastRow; ++r) {
                keep.moveTo(r, col);
                g.setCellPicture(ax::emptyPicture());
                g.setText(std::string());
            }
            break;
        }
        case ZelPicker: {
            const ax::Locale& locale = site().AmbientLocale();
            const std::string initial = ax::decimalText(column.ZelPickerInitValue);
            for (int32_t r = firstRow; r <= lastRow; ++r) {
                const std::string text = g.TextMatrix(r, col);
                bool keep = false;
                if (auto value = ax::parseNumber(text, locale)) {
                    const double whole = std::floor(*value);
                    keep = whole >= column.ZelPickerMin && whole <= column.ZelPickerMax;
                }
                if (!keep && text != initial) g.setTextMatrix(r, col, initial);
            }
            break;
        }
        default:
            break;
    }
}

}  // namespace vantrel
