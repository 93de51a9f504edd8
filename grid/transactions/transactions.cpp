// Single-level transactions over the grid's contents. BeginTrans copies the texts (check states for
// check-box data cells), the row and column numbers, the maintained strings and every picture cell
// with its alignments and colours into a shadow; RollBack writes it back; both ends discard it.
// While a transaction is open the shape and the columns' editor settings stay put, so the shadow fits.
#include <algorithm>
#include <utility>

#include "grid/editing/column_settings.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/controls/image.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {

namespace {

// What a saved picture's hidden image weighs against the cell budget, in cell texts.
constexpr int64_t kPictureShadowWeight = 16;

// Values kept per picture cell in a column's ShadowPictures, after entry 0 which holds no cell.
constexpr size_t kPictureFields = 6;
enum PictureField : size_t {
    FieldRow,
    FieldCol,
    FieldAlignment,
    FieldPictureAlignment,
    FieldBack,
    FieldFore
};

size_t pictureEntries(const std::vector<int32_t>& pictures) {
    return pictures.size() >= kPictureFields ? pictures.size() / kPictureFields - 1 : 0;
}

// One shadow step's hold on the inner grid: painting off, the current-cell notifications silenced
// (the step walks the cells and ends where it began, so the host has nothing to hear), and on the
// way out, also after a failure, the current cell put back and painting switched on.
class ShadowStep {
  public:
    explicit ShadowStep(ax::FlexGrid& grid)
        : g_(grid),
          leave_(std::exchange(grid.onLeaveCell, nullptr)),
          enter_(std::exchange(grid.onEnterCell, nullptr)),
          rowCol_(std::exchange(grid.onRowColChange, nullptr)),
          sel_(std::exchange(grid.onSelChange, nullptr)) {
        try {
            g_.setRedraw(false);
            row_ = g_.Row();
            col_ = g_.Col();
        } catch (...) {
            restoreHandlers();
            throw;
        }
    }
    ~ShadowStep() {
        try {
            // Setting both also collapses any selection a step spanned. Rows may have gone since
            // the step began: then the last row is the nearest one.
            const int32_t row = std::min(row_, g_.Rows() - 1);
            if (row >= 0) g_.setRow(row);
            g_.setCol(col_);
        } catch (...) {
        }
        try {
            g_.setRedraw(true);
        } catch (...) {
        }
        restoreHandlers();
    }
    ShadowStep(const ShadowStep&) = delete;
    ShadowStep& operator=(const ShadowStep&) = delete;

  private:
    void restoreHandlers() {
        g_.onLeaveCell = std::move(leave_);
        g_.onEnterCell = std::move(enter_);
        g_.onRowColChange = std::move(rowCol_);
        g_.onSelChange = std::move(sel_);
    }

    ax::FlexGrid& g_;
    ax::Handler<> leave_, enter_, rowCol_, sel_;
    int32_t row_ = 0, col_ = 0;
};

}  // namespace

bool Vantrel::IsInTransaction() const {
    if (!site().UserMode()) ax::raise(ax::err::NotAtDesignTime);
    return inTransaction_;
}

void Vantrel::BeginTrans() {
    if (inTransaction_) return;
    // Each step reports its own failure; the transaction opens whatever they managed.
    SaveVNContentToShadow();
    saveShadowPictures();
    setInTransaction(true);
}

void Vantrel::Commit() {
    if (!inTransaction_) return;
    setInTransaction(false);
}

void Vantrel::RollBack() {
    if (!inTransaction_) return;
    restoreShadowContent();
    restoreShadowPictures();
    setInTransaction(false);
}

bool Vantrel::SaveVNContentToShadow() {
    ax::FlexGrid& g = *FlexGrid_;
    try {
        ShadowStep step(g);
        const int32_t rows = g.Rows();
        const int32_t cols = settingsColumns();
        const int32_t fixedRows = g.FixedRows();
        const size_t n = static_cast<size_t>(std::max(rows, 0));
        // The copy counts against the grid's cell budget; a grid too big to copy is refused before
        // the shadow is touched, and a shadow left half-filled is never written back.
        countCellsBeside(maintainedColumns_, int64_t(rows) * (int64_t(cols) + maintainedColumns_) +
                                                 int64_t(shadowPictureCount_) * kPictureShadowWeight);
        shadowSaved_ = false;
        shadowRowData_.assign(n, 0);
        for (int32_t r = 0; r < rows; ++r) shadowRowData_[static_cast<size_t>(r)] = g.RowData(r);
        for (int32_t c = 0; c < cols; ++c) {
            ColumnSettings& column = settings_[static_cast<size_t>(c)];
            column.ShadowText.assign(n, std::string());
            if (column.MaintainData) column.ShadowMaintained.assign(n, std::string());
            column.ShadowColData = g.ColData(c);
            const bool checkBoxes = column.InputStyle == CheckBox;
            if (checkBoxes && fixedRows < rows) g.setCol(c);
            for (int32_t r = 0; r < rows; ++r) {
                const size_t i = static_cast<size_t>(r);
                if (checkBoxes && r >= fixedRows) {
                    g.setRow(r);
                    column.ShadowText[i].assign(1, ax::hasPicture(g.CellPicture()) ? '1' : '0');
                } else {
                    column.ShadowText[i] = g.TextMatrix(r, c);
                }
                if (column.MaintainData && i < column.MaintainedStrings.size())
                    column.ShadowMaintained[i] = column.MaintainedStrings[i];
            }
        }
        shadowSaved_ = true;
        return true;
    } catch (...) {
        return false;
    }
}

bool Vantrel::saveShadowPictures() {
    ax::FlexGrid& g = *FlexGrid_;
    unloadShadowPictures();
    try {
        ShadowStep step(g);
        const int32_t rows = g.Rows();
        const int32_t cols = settingsColumns();
        const int32_t fixedRows = g.FixedRows();
        for (int32_t c = 0; c < cols; ++c) {
            ColumnSettings& column = settings_[static_cast<size_t>(c)];
            column.ShadowPictures.assign(kPictureFields, 0);
            // The check mark of a check-box data cell is its check state, saved with the texts.
            const int32_t lastRow = column.InputStyle == CheckBox ? std::min(fixedRows, rows) : rows;
            if (lastRow > 0) g.setCol(c);
            for (int32_t r = 0; r < lastRow; ++r) {
                g.setRow(r);
                ax::PicturePtr picture = g.CellPicture();
                if (!ax::hasPicture(picture)) continue;
                column.ShadowPictures.insert(
                    column.ShadowPictures.end(),
                    {r, c, g.CellAlignment(), g.CellPictureAlignment(),
                     static_cast<int32_t>(g.CellBackColor()), static_cast<int32_t>(g.CellForeColor())});
                // The next element of the picture store; elements made for an earlier transaction
                // are used again, since a host keeps every child it made until the control goes.
                const size_t k = static_cast<size_t>(shadowPictureCount_) + 1;
                // Each saved picture keeps a hidden image: counted with the cells too.
                const int64_t texts = shadowSaved_ ? int64_t(shadowRowData_.size()) *
                                                         (int64_t(settingsColumns()) + maintainedColumns_)
                                                   : 0;
                countCellsBeside(maintainedColumns_, texts + int64_t(k) * kPictureShadowWeight);
                if (k >= ImgShadow_.size()) {
                    ax::ChildPtr child = site().CreateChild(ax::ChildKind::Image, "ImgShadow");
                    auto image = std::dynamic_pointer_cast<ax::Image>(child);
                    if (!image) ax::raise(ax::err::TypeMismatch);
                    children_.push_back(child);
                    ImgShadow_.push_back(std::move(image));
                }
                ImgShadow_[k]->setPicture(std::move(picture));
                shadowPictureCount_ = static_cast<int32_t>(k);
            }
        }
        return true;
    } catch (...) {
        return false;
    }
}

bool Vantrel::restoreShadowContent() {
    ax::FlexGrid& g = *FlexGrid_;
    // Without a whole save (the grid was too big to copy, or the copy failed half-way) there is
    // nothing to go back to: the grid keeps what it holds rather than losing it to a partial shadow.
    if (!shadowSaved_) return false;
    try {
        ShadowStep step(g);
        const int32_t cols = settingsColumns();
        const size_t saved = cols > 0 ? settings_[0].ShadowText.size() : shadowRowData_.size();
        const int32_t n = static_cast<int32_t>(saved);
        if (g.Rows() != n) {
            setRows(n);
            // The property refuses counts a host can still reach by adding rows; the shadow must fit
            // all the same, so the inner grid takes the count and the maintained strings follow it.
            if (g.Rows() != n) {
                g.setRows(n);
                for (int32_t c = 0; c < cols; ++c) {
                    ColumnSettings& column = settings_[static_cast<size_t>(c)];
                    if (column.MaintainData) column.MaintainedStrings.resize(std::max<size_t>(saved, 1));
                }
            }
        }
        const int32_t rows = g.Rows();
        const int32_t fixedRows = g.FixedRows();

        // Pictures set during the transaction go; check-box columns keep theirs for the check marks.
        // Each run of other columns is cleared at once, the selection spanning it with FillStyle
        // repeating the let.
        if (rows > 0) {
            const int32_t fill = g.FillStyle();
            g.setFillStyle(ax::flex::FillRepeat);
            try {
                for (int32_t c = 0; c < cols;) {
                    if (settings_[static_cast<size_t>(c)].InputStyle == CheckBox) {
                        ++c;
                        continue;
                    }
                    int32_t last = c;
                    while (last + 1 < cols && settings_[static_cast<size_t>(last + 1)].InputStyle != CheckBox)
                        ++last;
                    g.setRow(0);
                    g.setCol(c);
                    g.setRowSel(rows - 1);
                    g.setColSel(last);
                    g.setCellPicture(ax::emptyPicture());
                    c = last + 1;
                }
            } catch (...) {
                g.setFillStyle(fill);
                throw;
            }
            g.setFillStyle(fill);
        }

        for (int32_t c = 0; c < cols; ++c) g.setColData(c, settings_[static_cast<size_t>(c)].ShadowColData);
        for (int32_t r = 0; r < rows; ++r) {
            const size_t i = static_cast<size_t>(r);
            if (i < shadowRowData_.size()) g.setRowData(r, shadowRowData_[i]);
            for (int32_t c = 0; c < cols; ++c) {
                ColumnSettings& column = settings_[static_cast<size_t>(c)];
                if (i < column.ShadowText.size()) {
                    if (column.InputStyle == CheckBox && r >= fixedRows)
                        SetCellText(r, c, column.ShadowText[i]);
                    else
                        g.setTextMatrix(r, c, column.ShadowText[i]);
                }
                if (column.MaintainData && i < column.ShadowMaintained.size() &&
                    i < column.MaintainedStrings.size())
                    column.MaintainedStrings[i] = column.ShadowMaintained[i];
            }
        }
        return true;
    } catch (...) {
        return false;
    }
}

bool Vantrel::restoreShadowPictures() {
    ax::FlexGrid& g = *FlexGrid_;
    try {
        ShadowStep step(g);
        const int32_t rows = g.Rows();
        const int32_t cols = g.Cols();
        int32_t k = 0;
        for (int32_t c = 0; c < settingsColumns(); ++c) {
            const std::vector<int32_t>& pictures = settings_[static_cast<size_t>(c)].ShadowPictures;
            for (size_t e = 1; e <= pictureEntries(pictures); ++e) {
                const int32_t* entry = pictures.data() + e * kPictureFields;
                ++k;  // the store's elements follow the entries one to one
                const int32_t row = entry[FieldRow], col = entry[FieldCol];
                // A count of rows saved later by SaveVNContentToShadow may have dropped the cell.
                if (row < 0 || row >= rows || col < 0 || col >= cols || k > shadowPictureCount_) continue;
                g.setRow(row);
                g.setCol(col);
                g.setCellAlignment(ax::narrow16(entry[FieldAlignment]));
                g.setCellPictureAlignment(ax::narrow16(entry[FieldPictureAlignment]));
                g.setCellBackColor(static_cast<ax::OleColor>(entry[FieldBack]));
                g.setCellForeColor(static_cast<ax::OleColor>(entry[FieldFore]));
                g.setCellPicture(ImgShadow_[static_cast<size_t>(k)]->Picture());
            }
        }
        return true;
    } catch (...) {
        return false;
    }
}

void Vantrel::unloadShadowPictures() {
    for (int32_t k = shadowPictureCount_; k >= 1; --k) {
        try {
            ImgShadow_[static_cast<size_t>(k)]->setPicture(ax::emptyPicture());
        } catch (...) {
        }
    }
    shadowPictureCount_ = 0;
}

void Vantrel::setInTransaction(bool value) {
    if (!site().UserMode()) ax::raise(ax::err::NotAtDesignTime);
    inTransaction_ = value;
    if (!value) {
        shadowSaved_ = false;
        try {
            countCellsBeside(maintainedColumns_, 0);
        } catch (...) {
        }
        unloadShadowPictures();
        shadowRowData_.assign(1, 0);
        for (ColumnSettings& column : settings_) {
            column.ShadowText.assign(1, std::string());
            column.ShadowPictures.assign(kPictureFields, 0);
            column.ShadowMaintained.clear();
        }
    }
    notify("IsInTransaction");
}

}  // namespace vantrel
