#include "docs/snippets/snippets.h"

namespace guide {

// [transactions]
void transactions(std::ostream& out) {
    auto host = ax::makeHeadlessHost();
    host->setUserMode(true);
    auto grid = std::make_shared<vantrel::Vantrel>();
    host->place(grid, 4800, 2400);
    grid->setTextMatrix(1, 1, "kept");

    grid->BeginTrans();
    grid->setTextMatrix(1, 1, "draft");
    grid->setRows(grid->Rows() + 1);  // rows may change within a transaction
    grid->setCols(5);                 // the column count may not: ignored
    out << "in the transaction: " << grid->Rows() << " rows, " << grid->Cols() << " columns, "
        << grid->TextMatrix(1, 1) << "\n";
    grid->RollBack();  // texts, rows, maintained strings and cell pictures come back
    out << "rolled back: " << grid->Rows() << " rows, " << grid->TextMatrix(1, 1) << "\n";
}
// [transactions]

}  // namespace guide
