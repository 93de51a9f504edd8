// Table parts of subsystems that are not built yet: cell formats, data exchange and the pass-through
// family. Each gets its real body next to its code when that subsystem arrives, and leaves this file.
// The in-cell editing part stays here only until grid/editing/ defines its own.
#include "grid/frame/vantrel.h"

namespace vantrel {

}  // namespace vantrel
