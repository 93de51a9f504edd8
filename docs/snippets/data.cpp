#include "docs/snippets/snippets.h"

namespace guide {

// [arrays]
void arrays(std::ostream& out) {
    auto host = ax::makeHeadlessHost();
    host->setUserMode(true);
    auto grid = std::make_shared<vantrel::Vantrel>();
    host->place(grid, 4800, 2400);

    // Rows by columns, any lower bounds: the array fills the rows below the fixed ones and every
    // column; the grid takes the array's shape.
    ax::SafeArray rows(ax::VarType::String, {{1, 2}, {1, 3}});  // rows 1..2, columns 1..3
    const char* texts[2][3] = {{"Bolt", "M6", "12"}, {"Nut", "M6", "40"}};
    for (int32_t r = 0; r < 2; ++r)
        for (int32_t c = 0; c < 3; ++c) rows.at({r + 1, c + 1}) = ax::Variant(texts[r][c]);
    out << "LoadArray: " << grid->LoadArray(ax::Variant(rows)) << "\n";

    ax::SafeArray headings(ax::VarType::String, {{0, 3}});
    const char* names[] = {"Part", "Size", "Qty"};
    for (int32_t c = 0; c < 3; ++c) headings.at({c}) = ax::Variant(names[c]);
    grid->LoadHeadingFromArray(ax::Variant(headings));
    printGrid(out, *grid);

    ax::Variant back;  // an empty Variant receives a new array, counted from 0
    if (grid->SaveToArray(back)) {
        const ax::SafeArray& saved = *back.array();
        out << "saved rows 0.." << saved.ubound(1) << ", columns 0.." << saved.ubound(2) << "; (1, 0) is "
            << saved.at({1, 0}).toString() << "\n";
    }
}
// [arrays]

// [recordset]
void recordset(std::ostream& out) {
    auto host = ax::makeHeadlessHost();
    host->setUserMode(true);
    auto grid = std::make_shared<vantrel::Vantrel>();
    host->place(grid, 4800, 2400);

    // One heading row of field names, then one row per record; NULL gives an empty cell.
    std::shared_ptr<ax::Recordset> rec =
        ax::openSqliteRecordset("parts.db", "SELECT item, qty, note FROM stock WHERE id <= 5 ORDER BY id");
    out << "LoadRecordset: " << grid->LoadRecordset(ax::Variant(rec)) << "\n";
    printGrid(out, *grid);
}
// [recordset]

}  // namespace guide
