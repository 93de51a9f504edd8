// Per-column editor settings: the editor kind of a column, its limits, its item list and the
// per-column state other subsystems keep beside it (maintained strings, transaction shadow, XML names).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/colour.h"
#include "platform/automation/locale.h"
#include "platform/automation/picture.h"
#include "platform/automation/variant.h"

namespace vantrel {

// The editor kind of a column. Setters store any value; values outside 0..8 open no editor.
enum InputStyleKind : int32_t {
    None = 0,
    TextBox = 1,
    MaskEDBox = 2,
    ComboBox = 3,
    ComboDropDown = 4,
    ImageCombo = 5,
    DTPicker = 6,
    CheckBox = 7,
    ZelPicker = 8,
};

// One entry of a column's item list; lists are numbered from 1 (entry 0 is never used).
struct ComboItem {
    std::string Text;
    std::string Data;
    ax::Variant Image;  // index or key into the image list; empty: no image
    ax::Variant SelImage;
    int16_t Indentation = 0;
};

// The automation date of "12/31/9999" and "1/1/1601", the default date range of a column.
double defaultMaxDate();
double defaultMinDate();

struct ColumnSettings {
    std::vector<ComboItem> ComboItems = std::vector<ComboItem>(1);  // entry 0 only: an empty list
    bool Locked = false;
    bool LockedCombo = false;
    ax::PicturePtr MouseIconEditMode;
    int32_t MousePointerEditMode = 0;
    int32_t InputStyle = None;
    bool MaintainData = false;
    std::vector<std::string> MaintainedStrings;  // one per grid row while MaintainData
    std::vector<std::string> ShadowMaintained;
    std::vector<std::string> ShadowText = std::vector<std::string>(1);
    std::vector<int32_t> ShadowPictures;  // six values per picture cell; see the transaction code
    int32_t ShadowColData = 0;
    int16_t EditWidthMin = 0;
    bool DTPickCheckBox = false;
    ax::OleColor DTPickCalendarBackColor = 0;
    ax::OleColor DTPickCalendarForeColor = 0;
    ax::OleColor DTPickCalendarTitleBackColor = 0;
    ax::OleColor DTPickCalendarTitleForeColor = 0;
    ax::OleColor DTPickCalendarTrailingForeColor = 0;
    int32_t DTPickFormat = 0;
    double DTPickMaxDate = 0;
    double DTPickMinDate = 0;
    bool DTPickUpDown = false;
    int16_t TextMaxLength = 0;
    std::string MaskEditMask;
    std::string MaskEditPromptChar;
    int16_t ZelPickerMax = 0;
    int16_t ZelPickerMin = 0;
    int16_t ZelPickerSmallChange = 0;
    int16_t ZelPickerLargeChange = 0;
    int16_t ZelPickerStyle = 0;
    int16_t ZelPickerInitValue = 0;
    std::string ColAttributeName;
    std::string ColElementName;

    int32_t itemCount() const { return static_cast<int32_t>(ComboItems.size()) - 1; }
};

// The grid-wide values: what a grid-wide setter stores and what a new or re-initialised column copies.
struct GridDefaults {
    int32_t InputStyle = TextBox;
    int16_t EditWidthMin = 2;
    int16_t TextMaxLength = 64;
    bool Locked = false;
    bool LockedCombo = false;
    int32_t MousePointerEditMode = 0;
    ax::PicturePtr MouseIconEditMode;
    std::string MaskEditMask;
    std::string MaskEditPromptChar = "_";
    bool DTPickCheckBox = false;  // a new control stores True only after its first columns exist
    ax::OleColor DTPickCalendarBackColor = ax::syscolor::WindowBackground;
    ax::OleColor DTPickCalendarForeColor = ax::syscolor::ButtonText;
    ax::OleColor DTPickCalendarTitleBackColor = ax::syscolor::ButtonFace;
    ax::OleColor DTPickCalendarTitleForeColor = ax::syscolor::ButtonText;
    ax::OleColor DTPickCalendarTrailingForeColor = ax::syscolor::GrayText;
    int32_t DTPickFormat = 0;
    double DTPickMaxDate = defaultMaxDate();
    double DTPickMinDate = defaultMinDate();
    bool DTPickUpDown = false;
    int16_t ZelPickerMax = 32767;
    int16_t ZelPickerMin = -32768;
    int16_t ZelPickerInitValue = 0;
    int16_t ZelPickerSmallChange = 1;
    int16_t ZelPickerLargeChange = 1;
    int32_t ZelPickerStyle = 0;
};

// The format pattern a date format code selects (empty: the general date form).
std::string_view datePattern(int32_t code);

// Reads the texts of a date column. A text exactly in the column's own numeric pattern is read in
// that pattern's day and month order, so that what the grid wrote reads back as the date it showed
// ("05/12/20" in a day-first column is 5 December under a month-first locale too); any other text
// is read the locale's way.
class ColumnDateReader {
  public:
    ColumnDateReader(int32_t format, const ax::Locale& locale);
    std::optional<ax::Date> read(std::string_view text) const;

  private:
    const ax::Locale& locale_;
    std::string_view pattern_;
    std::optional<ax::Locale> patternOrder_;  // set when the pattern's order is not the locale's
};

}  // namespace vantrel
