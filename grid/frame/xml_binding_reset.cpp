// Dropping the XML binding when the columns change shape. The binding itself (document, source and
// names) arrives with data exchange; until then only the suppression flag exists to honour.
#include "grid/frame/vantrel.h"

namespace vantrel {

void Vantrel::ResetXMLBinding() {
    if (suppressBindingReset_) return;
}

}  // namespace vantrel
