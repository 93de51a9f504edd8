// Links every example of the user guide, so a member that is renamed or removed breaks the build.
#include "docs/snippets/snippets.h"
#include "platform/headless/headless_children.h"
#include "platform/runtime/registry.h"

int main(int argc, char**) {
    if (argc < 2) return 0;  // built to be linked; run with an argument to walk the examples
    ax::useBuildRegistry();  // the libraries of $VN_LIB_DIR, the number editor among them
    auto host = ax::makeHeadlessHost();
    auto grid = guide::placeGrid(*host);
    guide::setUpColumns(*grid);
    guide::exchangeArrays(*grid);
    guide::listenToEvents(*grid);
    guide::editInATransaction(*grid);
    guide::saveAndReload(*host, *grid, "guide-form.xml");
    guide::placeSpinControl(*host);
    grid->setEventSink(nullptr);
    return 0;
}
