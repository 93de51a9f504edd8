#include "docs/snippets/snippets.h"

namespace guide {

// [registry]
void createByName(std::ostream& out) {
    // Any host creates the controls by name; the runtime finds their libraries in the registries.
    for (const char* progId : {"Vantrel.Vantrel", "ZelCtrl.Zel"}) {
        std::shared_ptr<ax::Object> object = ax::CreateObject(progId);
        const bool control = std::dynamic_pointer_cast<ax::Control>(object) != nullptr;
        out << progId << (control ? ": a control\n" : ": an object\n");
    }
    try {
        ax::CreateObject("Vantrel.Missing");
    } catch (const ax::AutomationError& e) {
        out << "Vantrel.Missing: error " << e.number() << "\n";  // nothing registered by that name
    }
}
// [registry]

}  // namespace guide
