// Cell formats of the inner grid's current cell, offered under the inner grid's own names. They work
// at run time only (the four geometry gets excepted); the colour gets answer the grid's colour for a
// cell without its own; check-box cells keep their pictures for the check mark.
#include "grid/editing/column_settings.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/controls/image_combo.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {

int16_t Vantrel::CellAlignment() const {
    requireUserMode();
    return FlexGrid_->CellAlignment();
}
void Vantrel::setCellAlignment(int32_t value) {
    requireUserMode();
    FlexGrid_->setCellAlignment(ax::narrow16(value));
    notify("CellAlignment");
}

// A cell's own colour of 0 means "none of its own": the grid-wide colour is what the cell shows.
ax::OleColor Vantrel::CellBackColor() const {
    requireUserMode();
    const ax::OleColor own = FlexGrid_->CellBackColor();
    return own == 0 ? FlexGrid_->BackColor() : own;
}
void Vantrel::setCellBackColor(ax::OleColor value) {
    requireUserMode();
    FlexGrid_->setCellBackColor(value);
    notify("CellBackColor");
}

ax::OleColor Vantrel::CellForeColor() const {
    requireUserMode();
    const ax::OleColor own = FlexGrid_->CellForeColor();
    return own == 0 ? FlexGrid_->ForeColor() : own;
}
void Vantrel::setCellForeColor(ax::OleColor value) {
    requireUserMode();
    FlexGrid_->setCellForeColor(value);
    notify("CellForeColor");
}

bool Vantrel::CellFontBold() const {
    requireUserMode();
    return FlexGrid_->CellFontBold();
}
void Vantrel::setCellFontBold(bool value) {
    requireUserMode();
    FlexGrid_->setCellFontBold(value);
    notify("CellFontBold");
}

bool Vantrel::CellFontItalic() const {
    requireUserMode();
    return FlexGrid_->CellFontItalic();
}
void Vantrel::setCellFontItalic(bool value) {
    requireUserMode();
    FlexGrid_->setCellFontItalic(value);
    notify("CellFontItalic");
}

std::string Vantrel::CellFontName() const {
    requireUserMode();
    return FlexGrid_->CellFontName();
}
void Vantrel::setCellFontName(const std::string& value) {
    requireUserMode();
    FlexGrid_->setCellFontName(value);
    notify("CellFontName");
}

float Vantrel::CellFontSize() const {
    requireUserMode();
    return FlexGrid_->CellFontSize();
}
void Vantrel::setCellFontSize(float value) {
    requireUserMode();
    FlexGrid_->setCellFontSize(value);
    notify("CellFontSize");
}

bool Vantrel::CellFontStrikeThrough() const {
    requireUserMode();
    return FlexGrid_->CellFontStrikeThrough();
}
void Vantrel::setCellFontStrikeThrough(bool value) {
    requireUserMode();
    FlexGrid_->setCellFontStrikeThrough(value);
    notify("CellFontStrikeThrough");
}

bool Vantrel::CellFontUnderline() const {
    requireUserMode();
    return FlexGrid_->CellFontUnderline();
}
void Vantrel::setCellFontUnderline(bool value) {
    requireUserMode();
    FlexGrid_->setCellFontUnderline(value);
    notify("CellFontUnderline");
}

float Vantrel::CellFontWidth() const {
    requireUserMode();
    return FlexGrid_->CellFontWidth();
}
void Vantrel::setCellFontWidth(float value) {
    requireUserMode();
    FlexGrid_->setCellFontWidth(value);
    notify("CellFontWidth");
}

int16_t Vantrel::CellPictureAlignment() const {
    requireUserMode();
    return FlexGrid_->CellPictureAlignment();
}
void Vantrel::setCellPictureAlignment(int32_t value) {
    requireUserMode();
    FlexGrid_->setCellPictureAlignment(ax::narrow16(value));
    notify("CellPictureAlignment");
}

int32_t Vantrel::CellTextStyle() const {
    requireUserMode();
    return FlexGrid_->CellTextStyle();
}
void Vantrel::setCellTextStyle(int32_t value) {
    requireUserMode();
    FlexGrid_->setCellTextStyle(value);
    notify("CellTextStyle");
}

// The geometry answers a designer too: it changes nothing and places nothing.
int32_t Vantrel::CellHeight() const { return FlexGrid_->CellHeight(); }
int32_t Vantrel::CellLeft() const { return FlexGrid_->CellLeft(); }
int32_t Vantrel::CellTop() const { return FlexGrid_->CellTop(); }
int32_t Vantrel::CellWidth() const { return FlexGrid_->CellWidth(); }

ax::PicturePtr Vantrel::CellPicture() const {
    requireUserMode();
    if (currentColumn().InputStyle == CheckBox) return ax::emptyPicture();
    return FlexGrid_->CellPicture();
}

void Vantrel::setCellPicture(ax::PicturePtr value) {
    if (ColInputStyle() == CheckBox) return;
    FlexGrid_->setCellPicture(value ? std::move(value) : ax::emptyPicture());
    notify("CellPicture");
}

void Vantrel::SetCellPicture(int32_t Row, int32_t Col, const ax::Variant& Index) {
    requireUserMode();
    std::string indexText;
    try {
        indexText = ax::cStr(Index);
    } catch (...) {
        return;
    }
    const std::shared_ptr<ax::ImageList> list = ImgCombo_->ImageList();
    if (indexText.empty() || !list) return;

    ax::FlexGrid& g = *FlexGrid_;
    // The current cell is put back only once it has been read: a failure before that leaves it alone.
    bool remembered = false;
    int32_t savedRow = 0, savedCol = 0;
    try {
        g.setRedraw(false);
        savedRow = g.Row();
        savedCol = g.Col();
        remembered = true;
        g.setRow(Row);
        g.setCol(Col);
        if (settingsAt(Col).InputStyle != CheckBox) {
            g.setCellPicture(list->ListImages()->Item(Index)->Picture());
        }
    } catch (...) {
    }
    if (remembered) {
        try {
            if (g.Row() != savedRow) g.setRow(savedRow);
            if (g.Col() != savedCol) g.setCol(savedCol);
        } catch (...) {
        }
    }
    try {
        g.setRedraw(true);
    } catch (...) {
    }
}

void Vantrel::addFormatMembers(ax::DispatchTable<Vantrel>& t) {
    using V = Vantrel;
    t.prop("CellAlignment", &V::CellAlignment, &V::setCellAlignment)
        .prop("CellBackColor", &V::CellBackColor, &V::setCellBackColor)
        .prop("CellFontBold", &V::CellFontBold, &V::setCellFontBold)
        .prop("CellFontItalic", &V::CellFontItalic, &V::setCellFontItalic)
        .prop("CellFontName", &V::CellFontName, &V::setCellFontName)
        .prop("CellFontSize", &V::CellFontSize, &V::setCellFontSize)
        .prop("CellFontStrikeThrough", &V::CellFontStrikeThrough, &V::setCellFontStrikeThrough)
        .prop("CellFontUnderline", &V::CellFontUnderline, &V::setCellFontUnderline)
        .prop("CellFontWidth", &V::CellFontWidth, &V::setCellFontWidth)
        .prop("CellForeColor", &V::CellForeColor, &V::setCellForeColor)
        .prop("CellPictureAlignment", &V::CellPictureAlignment, &V::setCellPictureAlignment)
        .prop("CellTextStyle", &V::CellTextStyle, &V::setCellTextStyle)
        .get("CellHeight", &V::CellHeight)
        .get("CellLeft", &V::CellLeft)
        .get("CellTop", &V::CellTop)
        .get("CellWidth", &V::CellWidth)
        .propRef("CellPicture", &V::CellPicture, &V::setCellPicture)
        .method("SetCellPicture", &V::SetCellPicture)
        .get("IsInTransaction", &V::IsInTransaction)
        .method("BeginTrans", &V::BeginTrans)
        .method("Commit", &V::Commit)
        .method("RollBack", &V::RollBack)
        .method("SaveVNContentToShadow", &V::SaveVNContentToShadow)
        .method("GetCellFromScreenCoord", &V::GetCellFromScreenCoord);
}

}  // namespace vantrel
