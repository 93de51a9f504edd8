// Cell text: the rules by which a host's text enters a cell, and the reading of check-box cells.
#include <cmath>

#include "grid/editing/column_settings.h"
#include "grid/frame/inner_grid_guards.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/convert.h"
#include "platform/controls/image.h"
#include "platform/controls/mask_ed_box.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {

namespace {

// A masked column never takes more than the masked editor's own length limit.
constexpr int16_t kMaskedTextLimit = 64;

// Whether a text is longer than a limit of 1 or more; a text of no more bytes than the limit is never
// longer, which spares counting the characters of most texts.
bool overLimit(const std::string& text, int16_t limit) {
    return limit >= 1 && text.size() > static_cast<size_t>(limit) &&
           ax::charCount(text) > static_cast<size_t>(limit);
}

// Writes the text, cut to the limit when it is longer.
inline void setLimited(ax::FlexGrid& g, int32_t row, int32_t col, const std::string& text, int16_t limit) {
    if (overLimit(text, limit))
        g.setTextMatrix(row, col, ax::leftChars(text, static_cast<size_t>(limit)));
    else
        g.setTextMatrix(row, col, text);
}

}  // namespace

// Defined before its callers in this file, so that they take it in.
inline bool Vantrel::writeCellText(const ax::GridShape& shape, int32_t row, int32_t col,
                                   const std::string& text) {
    ax::FlexGrid& g = *FlexGrid_;
    if (row < shape.fixedRows || col < shape.fixedCols) {
        g.setTextMatrix(row, col, text);
        return true;
    }
    const ColumnSettings& column = settingsAt(col);
    switch (column.InputStyle) {
        case None:
            g.setTextMatrix(row, col, text);
            return true;
        case TextBox:
        case ComboBox:
        case ImageCombo:
            setLimited(g, row, col, text, column.TextMaxLength);
            return true;
        default:
            return setTextByKindRule(row, col, text, column);
    }
}

bool Vantrel::SetCellText(int32_t row, int32_t col, const std::string& text) {
    return writeCellText(FlexGrid_->shape(), row, col, text);
}

bool Vantrel::setCellTextWithin(const ax::GridShape& shape, int32_t row, int32_t col,
                                const std::string& text) {
    return writeCellText(shape, row, col, text);
}

bool Vantrel::setTextByKindRule(int32_t row, int32_t col, const std::string& text,
                                const ColumnSettings& column) {
    ax::FlexGrid& g = *FlexGrid_;
    switch (column.InputStyle) {
        case ComboDropDown:
            for (size_t i = 1; i < column.ComboItems.size(); ++i) {
                if (column.ComboItems[i].Text == text) {
                    setLimited(g, row, col, text, column.TextMaxLength);
                    return true;
                }
            }
            return false;
        case MaskEDBox: {
            if (text.empty()) {
                g.setTextMatrix(row, col, text);
                return true;
            }
            const int16_t limit = column.TextMaxLength >= 1 && column.TextMaxLength <= kMaskedTextLimit
                                      ? column.TextMaxLength
                                      : kMaskedTextLimit;
            const std::string candidate = ax::leftChars(text, static_cast<size_t>(limit));
            // The masked-edit child is the judge of whether the text fits the mask.
            try {
                ax::MaskEdBox& mask = *MaskEdit_;
                mask.setMask(std::string());
                mask.setText(std::string());
                mask.setMask(column.MaskEditMask);
                mask.setText(candidate);
                if (mask.Text() != candidate) return false;
                g.setTextMatrix(row, col, candidate);
                return true;
            } catch (...) {
                return false;
            }
        }
        case DTPicker: {
            const ax::Locale& locale = site().AmbientLocale();
            const auto date = ColumnDateReader(column.DTPickFormat, locale).read(text);
            if (!date) return false;
            g.setTextMatrix(row, col, ax::formatDate(*date, datePattern(column.DTPickFormat), locale));
            return true;
        }
        case CheckBox: {
            if (text != "1" && text != "0" && !text.empty()) return false;
            RedrawOff quiet(g);
            CurrentCellKept keep(g);
            keep.moveTo(row, col);
            if (text == "1") {
                g.setCellPicture(ImgChecked_->Picture());
                g.setCellPictureAlignment(ax::flex::AlignCenterCenter);
            } else {
                g.setCellPicture(ax::emptyPicture());
            }
            g.setText(std::string());
            return true;
        }
        case ZelPicker: {
            if (!ax::readsAsNumber(text, site().AmbientLocale())) return false;
            const double value = ax::leadingNumber(text);
            if (value != std::floor(value)) return false;
            if (value < column.ZelPickerMin || value > column.ZelPickerMax) return false;
            g.setTextMatrix(row, col, ax::decimalText(static_cast<int64_t>(value)));
            return true;
        }
        default:
            return false;
    }
}

bool Vantrel::readsCheckBoxCell(int32_t row, int32_t col) const {
    ax::FlexGrid& g = *FlexGrid_;
    RedrawOff quiet(g);
    CurrentCellKept keep(g);
    keep.moveTo(row, col, false);
    const ax::PicturePtr picture = g.CellPicture();
    return picture && picture->Handle() >= 1;
}

std::string Vantrel::checkTextOfCurrentCell() const {
    const ax::PicturePtr picture = FlexGrid_->CellPicture();
    return picture && picture->Handle() >= 1 ? "1" : "0";
}

std::string Vantrel::Text() const {
    requireUserMode();
    if (currentColumn().InputStyle == CheckBox) return checkTextOfCurrentCell();
    return FlexGrid_->Text();
}

void Vantrel::setText(const std::string& value) {
    requireUserMode();
    if (SetCellText(FlexGrid_->Row(), FlexGrid_->Col(), value)) notify("Text");
}

std::string Vantrel::TextMatrix(int32_t row, int32_t col) const {
    const ax::FlexGrid& g = *FlexGrid_;
    const ax::GridShape shape = g.shape();
    if (row < 0 || row >= shape.rows || col < 0 || col >= shape.cols) return std::string();
    if (settingsAt(col).InputStyle == CheckBox) return readsCheckBoxCell(row, col) ? "1" : "0";
    // Reading a plain cell moves nothing, so painting need not be switched off around it.
    return g.TextMatrix(row, col);
}

void Vantrel::setTextMatrix(int32_t row, int32_t col, const std::string& value) {
    const ax::GridShape shape = FlexGrid_->shape();
    if (row < 0 || row >= shape.rows || col < 0 || col >= shape.cols) return;
    if (writeCellText(shape, row, col, value)) notify("TextMatrix");
}

std::string Vantrel::TextArray(int32_t index) const {
    const ax::FlexGrid& g = *FlexGrid_;
    if (index < 0 || index >= int64_t(g.Cols()) * g.Rows()) return std::string();
    return g.TextArray(index);
}

void Vantrel::setTextArray(int32_t index, const std::string& value) {
    ax::FlexGrid& g = *FlexGrid_;
    if (index < 0 || index >= int64_t(g.Cols()) * g.Rows()) return;
    g.setTextArray(index, value);
    notify("TextArray");
}

}  // namespace vantrel
