#include "docs/snippets/snippets.h"

namespace guide {

// [transactions]
void editInATransaction(vantrel::Vantrel& grid) {
    grid.BeginTrans();
    grid.setTextMatrix(1, 0, "draft");
    grid.setRows(grid.Rows() + 1);  // rows may change; columns and editor settings may not
    const bool userCancelled = true;
    if (userCancelled)
        grid.RollBack();  // texts, row and column data, maintained strings and pictures return
    else
        grid.Commit();
}
// [transactions]

}  // namespace guide
