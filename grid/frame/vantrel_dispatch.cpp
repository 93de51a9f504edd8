// The member table of the control, composed from the parts each subsystem declares next to its code.
#include "grid/frame/vantrel.h"

namespace vantrel {

const ax::DispatchTable<Vantrel>& Vantrel::dispatchTable() {
    static const ax::DispatchTable<Vantrel> table = [] {
        ax::DispatchTable<Vantrel> t;
        addFrameMembers(t);
        addPassThroughMembers(t);
        addDataMembers(t);
        addFormatMembers(t);
        addSettingsMembers(t);
        addEditingMembers(t);
        addExchangeMembers(t);
        return t;
    }();
    return table;
}

// The lifecycle has no members of its own: hosts reach it through the container's notifications.
// The frame's stored values (Index, the version text, Font, Enabled) are offered with the
// pass-through family, whose table part lists them.
void Vantrel::addFrameMembers(ax::DispatchTable<Vantrel>& t) { (void)t; }

}  // namespace vantrel
