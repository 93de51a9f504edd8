#include "docs/snippets/snippets.h"

namespace guide {

// [persistence]
void saveAndRestore(std::ostream& out) {
    auto host = ax::makeHeadlessHost();  // a form designer: design mode
    auto grid = std::make_shared<vantrel::Vantrel>();
    host->place(grid, 4800, 2400);
    grid->setRows(8);
    grid->setTextMaxLength(20);

    ax::XmlPropertyBag bag;
    host->save(*grid, bag);  // WriteProperties: the design-time settings, not the cells
    bag.save("form.xml");

    ax::XmlPropertyBag reopened;
    if (!reopened.load("form.xml"))  // a damaged file still gives every entry it could read
        for (const std::string& problem : reopened.problems()) out << problem << "\n";
    auto copy = std::make_shared<vantrel::Vantrel>();
    host->place(copy, 4800, 2400, &reopened);  // ReadProperties instead of InitProperties
    out << "restored: " << copy->Rows() << " rows, text limit " << copy->TextMaxLength() << "\n";
}
// [persistence]

}  // namespace guide
