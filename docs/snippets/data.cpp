#include "docs/snippets/snippets.h"
#include "platform/recordset/recordset.h"

namespace guide {

// [arrays]
void exchangeArrays(vantrel::Vantrel& grid) {
    // Rows by columns, from 0; LoadArray replaces the data rows and the column count.
    ax::SafeArray rows(ax::VarType::String, {{0, 2}, {0, 3}});
    rows.at({0, 0}) = ax::Variant("Bolt");
    rows.at({0, 1}) = ax::Variant("M6");
    rows.at({0, 2}) = ax::Variant("12");
    rows.at({1, 0}) = ax::Variant("Nut");
    rows.at({1, 1}) = ax::Variant("M6");
    rows.at({1, 2}) = ax::Variant("40");
    grid.LoadArray(ax::Variant(rows));

    ax::Variant back;  // an empty Variant receives a new array
    if (grid.SaveToArray(back)) {
        const ax::SafeArray& saved = *back.array();
        (void)saved.ubound(1);  // last data row
    }
}
// [arrays]

// [recordset]
bool loadFromDatabase(vantrel::Vantrel& grid, const std::string& dbPath) {
    // One heading row of field names, then one row per record.
    std::shared_ptr<ax::Recordset> rec = ax::openSqliteRecordset(dbPath, "SELECT name, size, qty FROM parts");
    return grid.LoadRecordset(ax::Variant(rec));
}
// [recordset]

// [xml]
bool exchangeXml(vantrel::Vantrel& grid, const std::string& path) {
    grid.setXMLFilePath(path);
    grid.LoadXMLDoc();                               // the document stays bound to the grid
    if (!grid.LoadXMLRootChild(true)) return false;  // headings from the tag names
    grid.setTextMatrix(1, 0, "changed");
    return grid.UpdateXMLRootChild() && grid.SaveXMLDoc();
}
// [xml]

}  // namespace guide
