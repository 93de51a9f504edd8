#include "docs/snippets/snippets.h"

namespace guide {

// [column-order]
void columnsBeforeData(std::ostream& out) {
    auto host = ax::makeHeadlessHost();
    host->setUserMode(true);  // per-column settings exist only in a running program
    auto grid = std::make_shared<vantrel::Vantrel>();
    host->place(grid, 4800, 2400);
    grid->setCols(3);  // the column count first: new columns take the grid-wide settings

    // Then each column's kind, then its own limits and list: a kind copies the grid-wide values.
    grid->setCol(1);
    grid->setColInputStyle(vantrel::ComboDropDown);
    for (std::string text : {"Bolt", "Nut"}) {
        int32_t index = 0;  // 0: at the end
        std::string data = "part:" + text;
        ax::Variant image, selImage;
        int16_t indentation = 0;
        grid->ComboAddItem(index, text, image, selImage, data, indentation);
    }
    grid->setCol(2);
    grid->setColInputStyle(vantrel::ZelPicker);
    grid->setColZelPickerMin(0);
    grid->setColZelPickerMax(500);

    // Then the data: every text meets its column's rule as it enters the cell.
    ax::SafeArray rows(ax::VarType::String, {{0, 3}, {0, 3}});
    const char* texts[3][3] = {{"A1", "Bolt", "12"}, {"A2", "Screw", "900"}, {"A3", "Nut", "x"}};
    for (int32_t r = 0; r < 3; ++r)
        for (int32_t c = 0; c < 3; ++c) rows.at({r, c}) = ax::Variant(texts[r][c]);
    grid->LoadArray(ax::Variant(rows));
    printGrid(out, *grid);
}
// [column-order]

// [column-convert]
void convertingAColumn(std::ostream& out) {
    auto host = ax::makeHeadlessHost();
    host->setUserMode(true);
    auto grid = std::make_shared<vantrel::Vantrel>();
    host->place(grid, 4800, 2400);
    grid->setCols(3);
    grid->setRows(4);
    const char* texts[3][2] = {{"12", "Bolt"}, {"many", "bolt"}, {"7.5", ""}};
    for (int32_t r = 0; r < 3; ++r)
        for (int32_t c = 0; c < 2; ++c) grid->setTextMatrix(r + 1, c + 1, texts[r][c]);

    // Giving a column a new kind rewrites its cells by the new kind's rule.
    grid->setCol(1);
    grid->setColInputStyle(vantrel::ZelPicker);  // not a number: the initial value, "0"
    grid->setCol(2);
    grid->setColInputStyle(vantrel::ComboDropDown);  // no list yet: every text is emptied
    printGrid(out, *grid);
}
// [column-convert]

}  // namespace guide
