#include "docs/snippets/snippets.h"

namespace guide {

// [limits]
void limits(std::ostream& out) {
    auto host = ax::makeHeadlessHost();
    host->setUserMode(true);
    auto grid = std::make_shared<vantrel::Vantrel>();
    host->place(grid, 4800, 2400);

    grid->setRows(32767);
    out << "Rows 32767: " << grid->Rows() << "\n";
    grid->setRows(32768);  // beyond the limit: ignored
    out << "Rows 32768: " << grid->Rows() << "\n";

    // Lengths count characters (code points), not bytes: "è" is one character of two bytes.
    grid->setTextMaxLength(5);
    grid->setTextMatrix(1, 1, "Crème brûlée");
    out << grid->TextMatrix(1, 1) << " (" << grid->TextMatrix(1, 1).size() << " bytes)\n";
}
// [limits]

}  // namespace guide
