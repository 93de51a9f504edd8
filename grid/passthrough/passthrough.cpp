// The inner grid's appearance and layout members under the control's own names. Each let writes
// the inner grid first and tells the host only when that write succeeded: an error of the inner
// grid reaches the caller as the inner grid raised it.
#include <cmath>

#include "grid/frame/vantrel.h"
#include "platform/automation/convert.h"
#include "platform/controls/check_box.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/image_combo.h"
#include "platform/controls/text_box.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {

// A get/let pair that only forwards: the get reads the inner grid, the let writes it and notifies.
#define VN_FORWARD(Type, Name)                               \
    Type Vantrel::Name() const { return FlexGrid_->Name(); } \
    void Vantrel::set##Name(Type value) {                    \
        FlexGrid_->set##Name(value);                         \
        notify(#Name);                                       \
    }

// The same for a member indexed by column or row; the index reaches the inner grid unchanged.
#define VN_FORWARD_INDEXED(Type, Name)                                         \
    Type Vantrel::Name(int32_t index) const { return FlexGrid_->Name(index); } \
    void Vantrel::set##Name(int32_t index, Type value) {                       \
        FlexGrid_->set##Name(index, value);                                    \
        notify(#Name);                                                         \
    }

VN_FORWARD(bool, AllowBigSelection)
VN_FORWARD(int32_t, AllowUserResizing)
VN_FORWARD(int32_t, Appearance)
VN_FORWARD(ax::OleColor, BackColor)
VN_FORWARD(ax::OleColor, BackColorBkg)
VN_FORWARD(ax::OleColor, BackColorFixed)
VN_FORWARD(ax::OleColor, BackColorSel)
VN_FORWARD(int32_t, BorderStyle)
VN_FORWARD_INDEXED(int32_t, ColAlignment)
VN_FORWARD_INDEXED(int32_t, FixedAlignment)
VN_FORWARD(int32_t, FocusRect)
VN_FORWARD(float, FontWidth)
VN_FORWARD(ax::OleColor, ForeColor)
VN_FORWARD(ax::OleColor, ForeColorFixed)
VN_FORWARD(ax::OleColor, ForeColorSel)
VN_FORWARD(ax::OleColor, GridColor)
VN_FORWARD(ax::OleColor, GridColorFixed)
VN_FORWARD(int32_t, GridLines)
VN_FORWARD(int32_t, GridLinesFixed)
VN_FORWARD(int16_t, GridLineWidth)
VN_FORWARD(int32_t, HighLight)
VN_FORWARD(int32_t, MousePointer)
VN_FORWARD(int32_t, OLEDropMode)
VN_FORWARD(int32_t, PictureType)
VN_FORWARD(bool, Redraw)
VN_FORWARD(int32_t, RowHeightMin)
VN_FORWARD(int32_t, ScrollBars)
VN_FORWARD(bool, ScrollTrack)
VN_FORWARD(int32_t, SelectionMode)
VN_FORWARD(int32_t, TextStyle)
VN_FORWARD(int32_t, TextStyleFixed)
VN_FORWARD(bool, WordWrap)

#undef VN_FORWARD
#undef VN_FORWARD_INDEXED

// --- item data: an index above the last one is ignored, a negative one is the inner grid's to refuse

int32_t Vantrel::ColData(int32_t index) const { return FlexGrid_->ColData(index); }
void Vantrel::setColData(int32_t index, int32_t value) {
    if (index > FlexGrid_->Cols() - 1) return;
    FlexGrid_->setColData(index, value);
    notify("ColData");
}

int32_t Vantrel::RowData(int32_t index) const { return FlexGrid_->RowData(index); }
void Vantrel::setRowData(int32_t index, int32_t value) {
    if (index > FlexGrid_->Rows() - 1) return;
    FlexGrid_->setRowData(index, value);
    notify("RowData");
}

// --- sizes: the inner grid keeps 32-bit twips, the control offers 16-bit ones ---------------------

int16_t Vantrel::ColWidth(int32_t index) const { return ax::narrow16(FlexGrid_->ColWidth(index)); }
void Vantrel::setColWidth(int32_t index, int16_t value) {
    FlexGrid_->setColWidth(index, value);
    notify("ColWidth");
}

int16_t Vantrel::RowHeight(int32_t index) const { return ax::narrow16(FlexGrid_->RowHeight(index)); }
void Vantrel::setRowHeight(int32_t index, int16_t value) {
    FlexGrid_->setRowHeight(index, value);
    notify("RowHeight");
}

// --- read-only layout -------------------------------------------------------------------------------

bool Vantrel::ColIsVisible(int32_t index) const { return FlexGrid_->ColIsVisible(index); }
int32_t Vantrel::ColPos(int32_t index) const { return FlexGrid_->ColPos(index); }
bool Vantrel::RowIsVisible(int32_t index) const { return FlexGrid_->RowIsVisible(index); }
int32_t Vantrel::RowPos(int32_t index) const { return FlexGrid_->RowPos(index); }
int32_t Vantrel::MouseCol() const { return FlexGrid_->MouseCol(); }
int32_t Vantrel::MouseRow() const { return FlexGrid_->MouseRow(); }
ax::PicturePtr Vantrel::Picture() const { return FlexGrid_->Picture(); }

// --- members held by the control itself -------------------------------------------------------------

bool Vantrel::Enabled() const { return site().Surface().Enabled(); }
void Vantrel::setEnabled(bool value) {
    site().Surface().setEnabled(value);
    notify("Enabled");
}

ax::FontPtr Vantrel::Font() const { return font_; }
void Vantrel::setFont(ax::FontPtr value) {
    // The inner grid refuses Nothing; refused here first, the control keeps the font it had.
    if (!value) ax::raise(ax::err::InvalidPropertyValue);
    applyFont(std::move(value));
}

int32_t Vantrel::hDC() const { return site().Surface().hDC(); }
int32_t Vantrel::hWnd() const { return site().Surface().hWnd(); }

void Vantrel::setIndex(int16_t value) {
    index_ = value;
    notify("Index");
}

std::string Vantrel::Version() const {
    requireUserMode();
    return version_;
}

// A size that is not a number (NaN, an infinity) is no value a surface can take; late-bound callers are
// already refused by the conversion to Single.
void Vantrel::Size(float Width, float Height) {
    if (!std::isfinite(Width) || !std::isfinite(Height)) ax::raise(ax::err::InvalidPropertyValue);
    site().Surface().Size(Width, Height);
}

// --- members that do a little more than forward ----------------------------------------------------

std::string Vantrel::FormatString() const { return FlexGrid_->FormatString(); }
void Vantrel::setFormatString(const std::string& value) {
    FlexGrid_->setFormatString(value);
    // The headings may have changed the column count: the settings follow through the Cols let,
    // which does nothing while a transaction is open.
    setCols(FlexGrid_->Cols());
    notify("FormatString");
}

ax::PicturePtr Vantrel::MouseIcon() const { return FlexGrid_->MouseIcon(); }
void Vantrel::setMouseIcon(ax::PicturePtr value) {
    FlexGrid_->setMouseIcon(std::move(value));
    notify("MouseIcon");
}

void Vantrel::SetMouseIcon(const ax::Variant& Index) {
    try {
        if (ax::cStr(Index).empty()) return;
        const std::shared_ptr<ax::ImageList> list = ImgCombo_->ImageList();
        if (!list) return;
        FlexGrid_->setMouseIcon(list->ListImages()->Item(Index)->Picture());
    } catch (...) {
        // An unknown key or number, or an index with no text form: the icon stays as it was.
    }
}

bool Vantrel::RightToLeft() const { return FlexGrid_->RightToLeft(); }
void Vantrel::setRightToLeft(bool value) {
    FlexGrid_->setRightToLeft(value);
    ComboBx_->setRightToLeft(value);
    ComboBxDropDown_->setRightToLeft(value);
    ChckBox_->setRightToLeft(value);
    TxtBox_->setRightToLeft(value);
    notify("RightToLeft");
}

void Vantrel::OLEDrag() { FlexGrid_->OLEDrag(); }
void Vantrel::Refresh() { FlexGrid_->Refresh(); }

// --- member table ----------------------------------------------------------------------------------

void Vantrel::addPassThroughMembers(ax::DispatchTable<Vantrel>& t) {
    using V = Vantrel;
    t.prop("AllowBigSelection", &V::AllowBigSelection, &V::setAllowBigSelection)
        .prop("AllowUserResizing", &V::AllowUserResizing, &V::setAllowUserResizing)
        .prop("Appearance", &V::Appearance, &V::setAppearance)
        .prop("BackColor", &V::BackColor, &V::setBackColor)
        .prop("BackColorBkg", &V::BackColorBkg, &V::setBackColorBkg)
        .prop("BackColorFixed", &V::BackColorFixed, &V::setBackColorFixed)
        .prop("BackColorSel", &V::BackColorSel, &V::setBackColorSel)
        .prop("BorderStyle", &V::BorderStyle, &V::setBorderStyle)
        .prop("ColAlignment", &V::ColAlignment, &V::setColAlignment)
        .prop("ColData", &V::ColData, &V::setColData)
        .get("ColIsVisible", &V::ColIsVisible)
        .get("ColPos", &V::ColPos)
        .prop("ColWidth", &V::ColWidth, &V::setColWidth)
        .prop("Enabled", &V::Enabled, &V::setEnabled)
        .prop("FixedAlignment", &V::FixedAlignment, &V::setFixedAlignment)
        .prop("FocusRect", &V::FocusRect, &V::setFocusRect)
        .propRef("Font", &V::Font, &V::setFont)
        .prop("FontWidth", &V::FontWidth, &V::setFontWidth)
        .prop("ForeColor", &V::ForeColor, &V::setForeColor)
        .prop("ForeColorFixed", &V::ForeColorFixed, &V::setForeColorFixed)
        .prop("ForeColorSel", &V::ForeColorSel, &V::setForeColorSel)
        .prop("FormatString", &V::FormatString, &V::setFormatString)
        .prop("GridColor", &V::GridColor, &V::setGridColor)
        .prop("GridColorFixed", &V::GridColorFixed, &V::setGridColorFixed)
        .prop("GridLines", &V::GridLines, &V::setGridLines)
        .prop("GridLinesFixed", &V::GridLinesFixed, &V::setGridLinesFixed)
        .prop("GridLineWidth", &V::GridLineWidth, &V::setGridLineWidth)
        .get("hDC", &V::hDC)
        .prop("HighLight", &V::HighLight, &V::setHighLight)
        .get("hWnd", &V::hWnd)
        .prop("Index", &V::Index, &V::setIndex)
        .get("MouseCol", &V::MouseCol)
        .propRef("MouseIcon", &V::MouseIcon, &V::setMouseIcon)
        .prop("MousePointer", &V::MousePointer, &V::setMousePointer)
        .get("MouseRow", &V::MouseRow)
        .method("OLEDrag", &V::OLEDrag)
        .prop("OLEDropMode", &V::OLEDropMode, &V::setOLEDropMode)
        .get("Picture", &V::Picture)
        .prop("PictureType", &V::PictureType, &V::setPictureType)
        .prop("Redraw", &V::Redraw, &V::setRedraw)
        .method("Refresh", &V::Refresh)
        .prop("RightToLeft", &V::RightToLeft, &V::setRightToLeft)
        .prop("RowData", &V::RowData, &V::setRowData)
        .prop("RowHeight", &V::RowHeight, &V::setRowHeight)
        .prop("RowHeightMin", &V::RowHeightMin, &V::setRowHeightMin)
        .get("RowIsVisible", &V::RowIsVisible)
        .get("RowPos", &V::RowPos)
        .prop("ScrollBars", &V::ScrollBars, &V::setScrollBars)
        .prop("ScrollTrack", &V::ScrollTrack, &V::setScrollTrack)
        .prop("SelectionMode", &V::SelectionMode, &V::setSelectionMode)
        .method("SetMouseIcon", &V::SetMouseIcon)
        .method("Size", &V::Size)
        .prop("TextStyle", &V::TextStyle, &V::setTextStyle)
        .prop("TextStyleFixed", &V::TextStyleFixed, &V::setTextStyleFixed)
        .get("Version", &V::Version)
        .prop("WordWrap", &V::WordWrap, &V::setWordWrap);
}

}  // namespace vantrel
