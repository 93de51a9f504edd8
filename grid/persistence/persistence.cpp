// Design-time settings saved with the host's form and read back when the form is loaded. The keys,
// their order and their defaults are fixed, because forms saved by earlier versions must keep loading:
// "MaskeditMask" keeps its lower-case e, "FontWidth" is written and read twice, the font attribute
// keys are written but never read, and "Sort" is read but never written.
#include <algorithm>
#include <new>

#include "grid/frame/vantrel.h"
#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/automation/font.h"
#include "platform/automation/picture.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {

namespace {

using ax::Variant;

Variant systemColour(int n) { return Variant(static_cast<int32_t>(0x80000000u | static_cast<uint32_t>(n))); }
Variant rgb(int r, int g, int b) { return Variant(static_cast<int32_t>(r + 256 * g + 65536 * b)); }
Variant colour(ax::OleColor c) { return Variant(static_cast<int32_t>(c)); }
ax::OleColor colourOf(const Variant& v) { return static_cast<ax::OleColor>(ax::cLng(v)); }

// Whole numbers kept as Integer where they fit, so a saved form shows the key's own type, and as Long
// where a 32-bit value of the inner grid would not: saving never fails on a value loading accepts.
Variant integerOrLong(int32_t v) {
    if (v >= -32768 && v <= 32767) return Variant(static_cast<int16_t>(v));
    return Variant(v);
}
// Font widths are whole numbers in practice; a fractional one is kept as it is.
Variant integerOrSingle(float v) {
    if (v >= -32768.0f && v <= 32767.0f && static_cast<float>(static_cast<int16_t>(v)) == v)
        return Variant(static_cast<int16_t>(v));
    return Variant(v);
}

ax::FontPtr fontOf(const Variant& v) {
    const std::shared_ptr<ax::Object>& o = v.object();  // 424 for a value that is no object
    if (!o) ax::raise(ax::err::ObjectRequired);
    auto font = std::dynamic_pointer_cast<ax::Font>(o);
    if (!font) ax::raise(ax::err::TypeMismatch);
    return font;
}

// A picture key holds a picture or nothing (an absent key, Empty or Nothing: no picture).
ax::PicturePtr pictureOf(const Variant& v) {
    if (v.isEmpty()) return nullptr;
    const std::shared_ptr<ax::Object>& o = v.object();
    if (!o) return nullptr;
    auto picture = std::dynamic_pointer_cast<ax::Picture>(o);
    if (!picture) ax::raise(ax::err::TypeMismatch);
    return picture;
}

std::shared_ptr<ax::Object> objectOf(const Variant& v) {
    if (v.isEmpty()) return nullptr;
    return v.object();
}

// The default date range is written and read as its text; the text itself is taken as the date it
// names without asking the locale, so a form without the key loads under any locale.
constexpr const char* kMaxDateText = "12/31/9999";
constexpr const char* kMinDateText = "1/1/1601";
ax::Date dateOf(const Variant& v, const char* defaultText, double defaultValue) {
    if (const std::string* s = v.get<std::string>(); s && *s == defaultText) return ax::Date{defaultValue};
    return ax::cDate(v);
}

}  // namespace

void Vantrel::ReadProperties(ax::PropertyBag& bag) {
    // One trap for the whole load: the first failing key ends it, and what follows keeps its value.
    try {
        readProperties(bag);
        return;
    } catch (const ax::AutomationError& e) {
        site().MsgBox(std::to_string(e.number()) + e.description());
    } catch (const std::bad_alloc&) {
        const ax::AutomationError e(ax::err::OutOfMemory);
        site().MsgBox(std::to_string(e.number()) + e.description());
    } catch (const std::exception&) {
        // A failure from outside the automation layer still reaches the user, never the host.
        const ax::AutomationError e(ax::err::InvalidProcedureCall);
        site().MsgBox(std::to_string(e.number()) + e.description());
    }
    keepUsableAfterFailedLoad();
}

void Vantrel::keepUsableAfterFailedLoad() {
    // The keys after the failing one keep their values; only what every member relies on is made
    // whole, so that the host gets a grid it can still fill and edit.
    try {
        const size_t wanted = static_cast<size_t>(std::max(FlexGrid_->Cols(), int32_t(1)));
        if (settings_.size() != wanted) ReDimArray();
        if (!font_) {
            ax::FontPtr ambient = site().AmbientFont();
            font_ = ambient ? ambient : std::make_shared<ax::Font>();
            FlexGrid_->setFont(font_);
        }
        if (helpFilePath_.empty()) {
            helpFilePath_ = locateHelpFile();
            site().SetHelpFile(helpFilePath_);
        }
    } catch (const ax::AutomationError&) {
        // The message box has been shown; a second one would only repeat it.
    }
}

void Vantrel::readProperties(ax::PropertyBag& bag) {
    auto read = [&bag](const char* key, const Variant& defaultValue) {
        return bag.ReadProperty(key, defaultValue);
    };
    ax::FlexGrid& g = *FlexGrid_;
    ax::ControlSurface& surface = site().Surface();

    inTransaction_ = false;

    aa_ = read("aa", Variant(int16_t(0)));
    index_ = ax::cInt(read("Index", Variant(int16_t(1))));
    surface.setEnabled(ax::cBool(read("Enabled", Variant(true))));
    surface.setScaleHeight(ax::cSng(read("ScaleHeight", Variant(3600.0f))));
    surface.setScaleLeft(ax::cSng(read("ScaleLeft", Variant(0.0f))));
    surface.setScaleMode(static_cast<ax::ScaleMode>(ax::cInt(read("ScaleMode", Variant(int16_t(1))))));
    surface.setScaleTop(ax::cSng(read("ScaleTop", Variant(0.0f))));
    surface.setScaleWidth(ax::cSng(read("ScaleWidth", Variant(4800.0f))));
    ownDropMode_ = ax::cInt(read("OLEDropMode", Variant(int16_t(0))));

    ax::FontPtr ambient = site().AmbientFont();
    if (!ambient) ambient = std::make_shared<ax::Font>();
    applyFont(fontOf(read("Font", Variant(ambient))));
    g.setFont(font_);

    g.setRows(ax::cLng(read("Rows", Variant(int32_t(2)))));
    g.setCols(ax::cLng(read("Cols", Variant(int32_t(2)))));
    g.setAllowBigSelection(ax::cBool(read("AllowBigSelection", Variant(true))));
    g.setAllowUserResizing(ax::cInt(read("AllowUserResizing", Variant(int16_t(0)))));
    g.setAppearance(ax::cInt(read("Appearance", Variant(int16_t(1)))));
    g.setBackColor(colourOf(read("BackColor", systemColour(5))));
    g.setBackColorBkg(colourOf(read("BackColorBkg", rgb(128, 128, 128))));
    g.setBackColorFixed(colourOf(read("BackColorFixed", systemColour(15))));
    g.setBackColorSel(colourOf(read("BackColorSel", systemColour(13))));
    g.setBorderStyle(ax::cInt(read("BorderStyle", Variant(int16_t(1)))));
    g.setFixedCols(ax::cLng(read("FixedCols", Variant(int32_t(g.Cols() >= 2 ? 1 : 0)))));
    g.setFixedRows(ax::cLng(read("FixedRows", Variant(int32_t(1)))));
    g.setFocusRect(ax::cInt(read("FocusRect", Variant(int16_t(1)))));
    g.setFontWidth(ax::cSng(read("FontWidth", Variant(int16_t(0)))));
    g.setForeColor(colourOf(read("ForeColor", systemColour(8))));
    g.setForeColorFixed(colourOf(read("ForeColorFixed", systemColour(18))));
    g.setForeColorSel(colourOf(read("ForeColorSel", systemColour(14))));
    g.setFormatString(ax::cStr(read("FormatString", Variant(""))));
    g.setGridColor(colourOf(read("GridColor", rgb(192, 192, 192))));
    g.setGridColorFixed(colourOf(read("GridColorFixed", Variant(int32_t(0)))));
    g.setGridLines(ax::cInt(read("GridLines", Variant(int16_t(1)))));
    g.setGridLinesFixed(ax::cInt(read("GridLinesFixed", Variant(int16_t(2)))));
    g.setGridLineWidth(ax::cInt(read("GridLineWidth", Variant(int16_t(1)))));
    g.setHighLight(ax::cInt(read("HighLight", Variant(int16_t(1)))));
    g.setMousePointer(ax::cInt(read("MousePointer", Variant(int16_t(0)))));
    setMouseIcon(pictureOf(read("MouseIcon", Variant())));
    g.setPictureType(ax::cInt(read("PictureType", Variant(int16_t(0)))));
    setRightToLeft(ax::cBool(read("RightToLeft", Variant(false))));
    g.setRowHeightMin(ax::cLng(read("RowHeightMin", Variant(int16_t(0)))));
    g.setScrollBars(ax::cInt(read("ScrollBars", Variant(int16_t(3)))));
    g.setScrollTrack(ax::cBool(read("ScrollTrack", Variant(false))));
    g.setSelectionMode(ax::cInt(read("SelectionMode", Variant(int16_t(0)))));
    g.setTextStyle(ax::cInt(read("TextStyle", Variant(int16_t(0)))));
    g.setTextStyleFixed(ax::cInt(read("TextStyleFixed", Variant(int16_t(0)))));
    g.setWordWrap(ax::cBool(read("WordWrap", Variant(false))));
    // Forms saved by older versions carry a sort; it runs on the inner grid as it stands.
    g.setSort(ax::cInt(read("Sort", Variant(int16_t(0)))));
    version_ = ax::cStr(read("Version", Variant("2.0")));

    // Every column starts again from the loaded kind; the editor settings that follow reach every
    // column through their grid-wide lets.
    defaults_.InputStyle = ax::cLng(read("InputStyle", Variant(int32_t(1))));
    settings_.assign(1, ColumnSettings{});
    ReDimArray();
    setImageList(objectOf(read("ImageList", Variant())));
    setTextMaxLength(ax::cInt(read("TextMaxLength", Variant(int16_t(64)))));
    setLocked(ax::cBool(read("Locked", Variant(false))));
    setLockedCombo(ax::cBool(read("LockedCombo", Variant(false))));
    setMouseIconEditMode(pictureOf(read("MouseIconEditMode", Variant())));
    setMousePointerEditMode(ax::cLng(read("MousePointerEditMode", Variant(int16_t(0)))));
    setMaskEditMask(ax::cStr(read("MaskeditMask", Variant(""))));
    setMaskEditPromptChar(ax::cStr(read("MaskEditPromptChar", Variant("_"))));
    setDTPickCheckBox(ax::cBool(read("DTPickCheckBox", Variant(true))));
    setDTPickCalendarBackColor(colourOf(read("DTPickCalendarBackColor", systemColour(5))));
    setDTPickCalendarForeColor(colourOf(read("DTPickCalendarForeColor", systemColour(18))));
    setDTPickCalendarTitleBackColor(colourOf(read("DTPickCalendarTitleBackColor", systemColour(15))));
    setDTPickCalendarTitleForeColor(colourOf(read("DTPickCalendarTitleForeColor", systemColour(18))));
    setDTPickCalendarTrailingForeColor(colourOf(read("DTPickCalendarTrailingForeColor", systemColour(17))));
    setDTPickFormat(ax::cLng(read("DTPickFormat", Variant(int16_t(1)))));
    setDTPickMaxDate(dateOf(read("DTPickMaxDate", Variant(kMaxDateText)), kMaxDateText, defaultMaxDate()));
    setDTPickMinDate(dateOf(read("DTPickMinDate", Variant(kMinDateText)), kMinDateText, defaultMinDate()));
    setDTPickUpDown(ax::cBool(read("DTPickUpDown", Variant(false))));
    setZelPickerStyle(ax::cLng(read("ZelPickerStyle", Variant(int32_t(0)))));
    setZelPickerLargeChange(ax::cInt(read("ZelPickerLargeChange", Variant(int16_t(1)))));
    setZelPickerSmallChange(ax::cInt(read("ZelPickerSmallChange", Variant(int16_t(1)))));
    setZelPickerMax(ax::cInt(read("ZelPickerMax", Variant(int16_t(32767)))));
    setZelPickerMin(ax::cInt(read("ZelPickerMin", Variant(int16_t(-32768)))));
    setZelPickerInitValue(ax::cInt(read("ZelPickerInitValue", Variant(int16_t(0)))));
    g.setRedraw(ax::cBool(read("Redraw", Variant(true))));
    g.setFontWidth(ax::cSng(read("FontWidth", Variant(int16_t(0)))));
    setEditWidthMin(ax::cInt(read("EditWidthMin", Variant(int16_t(2)))));
    // After the shape, so that the maintained strings fit the loaded row count.
    setMaintainData(ax::cBool(read("MaintainData", Variant(false))));

    // The help file always lies beside the library: a stored path from another folder is not kept.
    const std::string stored = ax::cStr(read("HelpPath", Variant("")));
    if (stored.empty()) helpFilePath_ = locateHelpFile();
    helpFilePath_ = locateHelpFile();
    site().SetHelpFile(helpFilePath_);
}

void Vantrel::WriteProperties(ax::PropertyBag& bag) {
    auto write = [&bag](const char* key, const Variant& value, const Variant& defaultValue) {
        bag.WriteProperty(key, value, defaultValue);
    };
    const ax::FlexGrid& g = *FlexGrid_;
    const ax::ControlSurface& surface = site().Surface();
    ax::FontPtr ambient = site().AmbientFont();
    if (!ambient) ambient = std::make_shared<ax::Font>();
    const ax::Font fontAttributes = font_ ? *font_ : ax::Font();

    write("Rows", Variant(g.Rows()), Variant(int32_t(2)));
    write("Cols", Variant(g.Cols()), Variant(int32_t(2)));
    write("BackColor", colour(g.BackColor()), systemColour(5));
    write("ForeColor", colour(g.ForeColor()), systemColour(8));
    write("Enabled", Variant(surface.Enabled()), Variant(true));
    write("Font", Variant(font_), Variant(ambient));
    write("BorderStyle", integerOrLong(g.BorderStyle()), Variant(int16_t(1)));
    write("AllowBigSelection", Variant(g.AllowBigSelection()), Variant(true));
    write("AllowUserResizing", integerOrLong(g.AllowUserResizing()), Variant(int16_t(0)));
    write("Appearance", integerOrLong(g.Appearance()), Variant(int16_t(1)));
    write("BackColorBkg", colour(g.BackColorBkg()), rgb(128, 128, 128));
    write("BackColorFixed", colour(g.BackColorFixed()), systemColour(15));
    write("BackColorSel", colour(g.BackColorSel()), systemColour(13));
    write("FixedCols", Variant(g.FixedCols()), Variant(int32_t(1)));
    write("FixedRows", Variant(g.FixedRows()), Variant(int32_t(1)));
    write("FocusRect", integerOrLong(g.FocusRect()), Variant(int16_t(1)));
    write("FontBold", Variant(fontAttributes.Bold()), Variant(false));
    write("FontItalic", Variant(fontAttributes.Italic()), Variant(false));
    write("FontName", Variant(fontAttributes.Name()), Variant(""));
    write("FontSize", Variant(fontAttributes.Size()), Variant(0.0f));
    write("FontStrikethru", Variant(fontAttributes.Strikethrough()), Variant(false));
    // The control paints its own background, so its font is always drawn transparently.
    write("FontTransparent", Variant(true), Variant(true));
    write("FontUnderline", Variant(fontAttributes.Underline()), Variant(false));
    write("OLEDropMode", Variant(ownDropMode_), Variant(int16_t(0)));
    write("FontWidth", integerOrSingle(g.FontWidth()), Variant(int16_t(0)));
    write("ForeColorFixed", colour(g.ForeColorFixed()), systemColour(18));
    write("ForeColorSel", colour(g.ForeColorSel()), systemColour(14));
    write("FormatString", Variant(g.FormatString()), Variant(""));
    write("GridColor", colour(g.GridColor()), rgb(192, 192, 192));
    write("GridColorFixed", colour(g.GridColorFixed()), Variant(int32_t(0)));
    write("GridLines", integerOrLong(g.GridLines()), Variant(int16_t(1)));
    write("GridLinesFixed", integerOrLong(g.GridLinesFixed()), Variant(int16_t(2)));
    write("GridLineWidth", Variant(g.GridLineWidth()), Variant(int16_t(1)));
    write("HighLight", integerOrLong(g.HighLight()), Variant(int16_t(1)));
    write("MouseIcon", Variant(MouseIcon()), Variant());
    write("MousePointer", integerOrLong(g.MousePointer()), Variant(int16_t(0)));
    write("Index", Variant(index_), Variant(int16_t(1)));
    write("PictureType", integerOrLong(g.PictureType()), Variant(int16_t(0)));
    write("RightToLeft", Variant(g.RightToLeft()), Variant(false));
    write("RowHeightMin", integerOrLong(g.RowHeightMin()), Variant(int16_t(0)));
    write("ScaleHeight", Variant(surface.ScaleHeight()), Variant(3600.0f));
    write("ScaleLeft", Variant(surface.ScaleLeft()), Variant(0.0f));
    write("ScaleMode", Variant(static_cast<int16_t>(surface.scaleMode())), Variant(int16_t(1)));
    write("ScaleTop", Variant(surface.ScaleTop()), Variant(0.0f));
    write("ScaleWidth", Variant(surface.ScaleWidth()), Variant(4800.0f));
    write("ScrollBars", integerOrLong(g.ScrollBars()), Variant(int16_t(3)));
    write("ScrollTrack", Variant(g.ScrollTrack()), Variant(false));
    write("SelectionMode", integerOrLong(g.SelectionMode()), Variant(int16_t(0)));
    write("TextStyle", integerOrLong(g.TextStyle()), Variant(int16_t(0)));
    write("TextStyleFixed", integerOrLong(g.TextStyleFixed()), Variant(int16_t(0)));
    write("WordWrap", Variant(g.WordWrap()), Variant(false));
    write("Version", Variant(version_), Variant("2.0"));
    write("aa", aa_, Variant(int16_t(0)));

    write("InputStyle", Variant(defaults_.InputStyle), Variant(int32_t(1)));
    write("ImageList", Variant(ImageList()), Variant());
    write("TextMaxLength", Variant(defaults_.TextMaxLength), Variant(int16_t(64)));
    write("MaskeditMask", Variant(defaults_.MaskEditMask), Variant(""));
    write("MaskEditPromptChar", Variant(defaults_.MaskEditPromptChar), Variant("_"));
    write("Locked", Variant(defaults_.Locked), Variant(false));
    write("LockedCombo", Variant(defaults_.LockedCombo), Variant(false));
    write("MouseIconEditMode", Variant(defaults_.MouseIconEditMode), Variant());
    write("MousePointerEditMode", integerOrLong(defaults_.MousePointerEditMode), Variant(int16_t(0)));
    write("DTPickCheckBox", Variant(defaults_.DTPickCheckBox), Variant(true));
    write("DTPickCalendarBackColor", colour(defaults_.DTPickCalendarBackColor), systemColour(5));
    write("DTPickCalendarForeColor", colour(defaults_.DTPickCalendarForeColor), systemColour(18));
    write("DTPickCalendarTitleBackColor", colour(defaults_.DTPickCalendarTitleBackColor), systemColour(15));
    write("DTPickCalendarTitleForeColor", colour(defaults_.DTPickCalendarTitleForeColor), systemColour(18));
    write("DTPickCalendarTrailingForeColor", colour(defaults_.DTPickCalendarTrailingForeColor),
          systemColour(17));
    write("DTPickFormat", integerOrLong(defaults_.DTPickFormat), Variant(int16_t(1)));
    write("DTPickMaxDate", Variant(ax::Date{defaults_.DTPickMaxDate}), Variant(kMaxDateText));
    write("DTPickMinDate", Variant(ax::Date{defaults_.DTPickMinDate}), Variant(kMinDateText));
    write("DTPickUpDown", Variant(defaults_.DTPickUpDown), Variant(false));
    write("ZelPickerStyle", Variant(defaults_.ZelPickerStyle), Variant(int32_t(0)));
    write("ZelPickerLargeChange", Variant(defaults_.ZelPickerLargeChange), Variant(int16_t(1)));
    write("ZelPickerSmallChange", Variant(defaults_.ZelPickerSmallChange), Variant(int16_t(1)));
    write("ZelPickerMax", Variant(defaults_.ZelPickerMax), Variant(int16_t(32767)));
    write("ZelPickerMin", Variant(defaults_.ZelPickerMin), Variant(int16_t(-32768)));
    write("ZelPickerInitValue", Variant(defaults_.ZelPickerInitValue), Variant(int16_t(0)));
    write("Redraw", Variant(g.Redraw()), Variant(true));
    write("FontWidth", integerOrSingle(g.FontWidth()), Variant(int16_t(0)));
    write("EditWidthMin", Variant(defaults_.EditWidthMin), Variant(int16_t(2)));
    write("MaintainData", Variant(maintainData_), Variant(false));
    write("HelpPath", Variant(helpFilePath_), Variant(""));
}

}  // namespace vantrel
