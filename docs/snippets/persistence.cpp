#include <cstdio>

#include "docs/snippets/snippets.h"
#include "platform/xml/xml_property_bag.h"

namespace guide {

// [persist]
std::shared_ptr<vantrel::Vantrel> saveAndReload(ax::HeadlessHost& host, vantrel::Vantrel& grid,
                                                const std::string& formFile) {
    ax::XmlPropertyBag bag;
    host.save(grid, bag);  // WriteProperties: the design-time settings only
    bag.save(formFile);

    ax::XmlPropertyBag reopened;
    if (!reopened.load(formFile))  // a damaged file still gives every entry it could read
        for (const std::string& problem : reopened.problems()) std::fprintf(stderr, "%s\n", problem.c_str());
    auto copy = std::make_shared<vantrel::Vantrel>();
    host.place(copy, 4800, 2400, &reopened);  // ReadProperties instead of InitProperties
    return copy;
}
// [persist]

}  // namespace guide
