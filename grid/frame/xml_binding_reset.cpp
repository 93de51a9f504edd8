// Dropping the XML binding when the columns change shape: the document, the last recordset and the
// names go, unless a load is reshaping the grid. The columns keep their own attribute and element names.
#include "grid/frame/vantrel.h"
#include "platform/xml/dom.h"

namespace vantrel {

void Vantrel::ResetXMLBinding() {
    if (suppressBindingReset_) return;
    boundSource_.reset();
    xmlDocument_.reset();
    rootElementTagName_.clear();
    rootChildTagName_.clear();
    rowElementTagName_.clear();
    xmlFilePath_.clear();
    elementColumnCount_ = 0;
    attributeColumnCount_ = 0;
}

}  // namespace vantrel
