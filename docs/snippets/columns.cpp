#include "docs/snippets/snippets.h"

namespace guide {

// [columns]
void setUpColumns(vantrel::Vantrel& grid) {
    // Grid-wide values reach every column; the Col... members change the current column only.
    grid.setInputStyle(vantrel::TextBox);
    grid.setTextMaxLength(30);

    grid.setCol(1);  // "Kind": chosen from a list
    grid.setColInputStyle(vantrel::ComboDropDown);
    int32_t index = 0;
    int16_t indentation = 0;
    for (std::string text : {"Bolt", "Nut", "Washer"}) {
        std::string data = "part:" + text;
        ax::Variant image, selImage;
        grid.ComboAddItem(index = 0, text, image, selImage, data, indentation);
    }

    grid.setCol(2);  // "Count": a whole number between 0 and 500
    grid.setColInputStyle(vantrel::ZelPicker);
    grid.setColZelPickerMin(0);
    grid.setColZelPickerMax(500);

    grid.setCol(3);  // "Due": a date written as dd/mm/yyyy
    grid.setColInputStyle(vantrel::DTPicker);
    grid.setColDTPickFormat(4);

    // Texts the host writes obey the column's rule: "many" is refused in the number column.
    grid.setTextMatrix(1, 2, "many");
    grid.setTextMatrix(1, 1, "Nut");
}
// [columns]

}  // namespace guide
