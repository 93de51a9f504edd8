// Members of the shape, the current cell, cell text and maintained strings, by name.
#include "grid/frame/vantrel.h"

namespace vantrel {

void Vantrel::addDataMembers(ax::DispatchTable<Vantrel>& t) {
    using V = Vantrel;
    t.prop("Rows", &V::Rows, &V::setRows)
        .prop("Cols", &V::Cols, &V::setCols)
        .prop("FixedRows", &V::FixedRows, &V::setFixedRows)
        .prop("FixedCols", &V::FixedCols, &V::setFixedCols)
        .prop("Row", &V::Row, &V::setRow)
        .prop("Col", &V::Col, &V::setCol)
        .prop("RowSel", &V::RowSel, &V::setRowSel)
        .prop("ColSel", &V::ColSel, &V::setColSel)
        .prop("TopRow", &V::TopRow, &V::setTopRow)
        .prop("LeftCol", &V::LeftCol, &V::setLeftCol)
        .prop("Text", &V::Text, &V::setText)
        .prop("TextMatrix", &V::TextMatrix, &V::setTextMatrix)
        .prop("TextArray", &V::TextArray, &V::setTextArray)
        .method("AddItem", &V::AddItem, {ax::Variant(kAddItemIndexNotGiven)})
        .method("RemoveItem", &V::RemoveItem)
        .method("Clear", &V::Clear)
        .let("ColPosition", &V::setColPosition)
        .let("RowPosition", &V::setRowPosition)
        // A refused sort ignores its value, even one no integer type holds.
        .let("Sort",
             [](V& g, std::vector<ax::Variant>& a) -> ax::Variant {
                 if (a.size() != 1) ax::raise(ax::err::WrongArgumentCount);
                 if (!g.sortRefused()) g.setSort(ax::cInt(a[0]));
                 return {};
             })
        .prop("MaintainData", &V::MaintainData, &V::setMaintainData)
        .prop("ColMaintainData", &V::ColMaintainData, &V::setColMaintainData)
        .prop("CellData", &V::CellData, &V::setCellData)
        .prop("DataMatrix", &V::DataMatrix, &V::setDataMatrix);
}

}  // namespace vantrel
