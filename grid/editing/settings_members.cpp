// Members of the column editor settings, by name.
#include "grid/frame/vantrel.h"

namespace vantrel {

void Vantrel::addSettingsMembers(ax::DispatchTable<Vantrel>& t) {
    using V = Vantrel;
    t.prop("InputStyle", &V::InputStyle, &V::setInputStyle)
        .prop("ColInputStyle", &V::ColInputStyle, &V::setColInputStyle)
        .prop("Locked", &V::Locked, &V::setLocked)
        .prop("ColLocked", &V::ColLocked, &V::setColLocked)
        .prop("LockedCombo", &V::LockedCombo, &V::setLockedCombo)
        .prop("ColLockedCombo", &V::ColLockedCombo, &V::setColLockedCombo)
        .propRef("MouseIconEditMode", &V::MouseIconEditMode, &V::setMouseIconEditMode)
        .propRef("ColMouseIconEditMode", &V::ColMouseIconEditMode, &V::setColMouseIconEditMode)
        .prop("MousePointerEditMode", &V::MousePointerEditMode, &V::setMousePointerEditMode)
        .prop("ColMousePointerEditMode", &V::ColMousePointerEditMode, &V::setColMousePointerEditMode)
        .prop("EditWidthMin", &V::EditWidthMin, &V::setEditWidthMin)
        .prop("ColEditWidthMin", &V::ColEditWidthMin, &V::setColEditWidthMin)
        .prop("TextMaxLength", &V::TextMaxLength, &V::setTextMaxLength)
        .prop("ColTextMaxLength", &V::ColTextMaxLength, &V::setColTextMaxLength)
        .prop("MaskEditMask", &V::MaskEditMask, &V::setMaskEditMask)
        .prop("ColMaskEditMask", &V::ColMaskEditMask, &V::setColMaskEditMask)
        .prop("MaskEditPromptChar", &V::MaskEditPromptChar, &V::setMaskEditPromptChar)
        .prop("ColMaskEditPromptChar", &V::ColMaskEditPromptChar, &V::setColMaskEditPromptChar)
        .prop("DTPickCheckBox", &V::DTPickCheckBox, &V::setDTPickCheckBox)
        .prop("ColDTPickCheckBox", &V::ColDTPickCheckBox, &V::setColDTPickCheckBox)
        .prop("DTPickCalendarBackColor", &V::DTPickCalendarBackColor, &V::setDTPickCalendarBackColor)
        .prop("ColDTPickCalendarBackColor", &V::ColDTPickCalendarBackColor, &V::setColDTPickCalendarBackColor)
        .prop("DTPickCalendarForeColor", &V::DTPickCalendarForeColor, &V::setDTPickCalendarForeColor)
        .prop("ColDTPickCalendarForeColor", &V::ColDTPickCalendarForeColor, &V::setColDTPickCalendarForeColor)
        .prop("DTPickCalendarTitleBackColor", &V::DTPickCalendarTitleBackColor,
              &V::setDTPickCalendarTitleBackColor)
        .prop("ColDTPickCalendarTitleBackColor", &V::ColDTPickCalendarTitleBackColor,
              &V::setColDTPickCalendarTitleBackColor)
        .prop("DTPickCalendarTitleForeColor", &V::DTPickCalendarTitleForeColor,
              &V::setDTPickCalendarTitleForeColor)
        .prop("ColDTPickCalendarTitleForeColor", &V::ColDTPickCalendarTitleForeColor,
              &V::setColDTPickCalendarTitleForeColor)
        .prop("DTPickCalendarTrailingForeColor", &V::DTPickCalendarTrailingForeColor,
              &V::setDTPickCalendarTrailingForeColor)
        .prop("ColDTPickCalendarTrailingForeColor", &V::ColDTPickCalendarTrailingForeColor,
              &V::setColDTPickCalendarTrailingForeColor)
        .prop("DTPickFormat", &V::DTPickFormat, &V::setDTPickFormat)
        .prop("ColDTPickFormat", &V::ColDTPickFormat, &V::setColDTPickFormat)
        .prop("DTPickMaxDate", &V::DTPickMaxDate, &V::setDTPickMaxDate)
        .prop("ColDTPickMaxDate", &V::ColDTPickMaxDate, &V::setColDTPickMaxDate)
        .prop("DTPickMinDate", &V::DTPickMinDate, &V::setDTPickMinDate)
        .prop("ColDTPickMinDate", &V::ColDTPickMinDate, &V::setColDTPickMinDate)
        .prop("DTPickUpDown", &V::DTPickUpDown, &V::setDTPickUpDown)
        .prop("ColDTPickUpDown", &V::ColDTPickUpDown, &V::setColDTPickUpDown)
        .prop("ZelPickerMax", &V::ZelPickerMax, &V::setZelPickerMax)
        .prop("ColZelPickerMax", &V::ColZelPickerMax, &V::setColZelPickerMax)
        .prop("ZelPickerMin", &V::ZelPickerMin, &V::setZelPickerMin)
        .prop("ColZelPickerMin", &V::ColZelPickerMin, &V::setColZelPickerMin)
        .prop("ZelPickerInitValue", &V::ZelPickerInitValue, &V::setZelPickerInitValue)
        .prop("ColZelPickerInitValue", &V::ColZelPickerInitValue, &V::setColZelPickerInitValue)
        .prop("ZelPickerSmallChange", &V::ZelPickerSmallChange, &V::setZelPickerSmallChange)
        .prop("ColZelPickerSmallChange", &V::ColZelPickerSmallChange, &V::setColZelPickerSmallChange)
        .prop("ZelPickerLargeChange", &V::ZelPickerLargeChange, &V::setZelPickerLargeChange)
        .prop("ColZelPickerLargeChange", &V::ColZelPickerLargeChange, &V::setColZelPickerLargeChange)
        .prop("ZelPickerStyle", &V::ZelPickerStyle, &V::setZelPickerStyle)
        .prop("ColZelPickerStyle", &V::ColZelPickerStyle, &V::setColZelPickerStyle)
        .method("SetMouseIconEditMode", &V::SetMouseIconEditMode, {ax::Variant(int32_t(-1))})
        .get("MaskEditAllowPrompt", &V::MaskEditAllowPrompt)
        .get("MaskEditPromptInclude", &V::MaskEditPromptInclude);
}

}  // namespace vantrel
