// The data-exchange part of the control's member table: arrays, recordsets and the XML binding.
#include "grid/frame/vantrel.h"

namespace vantrel {

void Vantrel::addExchangeMembers(ax::DispatchTable<Vantrel>& t) {
    using V = Vantrel;
    const ax::Variant notGiven(false);
    t.method("LoadArray", &V::LoadArray)
        .method("LoadHeadingFromArray", &V::LoadHeadingFromArray)
        .method("SaveToArray", &V::SaveToArray)
        .method("SaveHeadingToArray", &V::SaveHeadingToArray)
        .method("LoadRecordset", &V::LoadRecordset)
        .get("RootElementTagName", &V::RootElementTagName)
        .prop("RootChildTagName", &V::RootChildTagName, &V::setRootChildTagName)
        .prop("RowElementTagName", &V::RowElementTagName, &V::setRowElementTagName)
        .prop("XMLFilePath", &V::XMLFilePath, &V::setXMLFilePath)
        .prop("ColAttributeName", &V::ColAttributeName, &V::setColAttributeName)
        .prop("ColElementName", &V::ColElementName, &V::setColElementName)
        .method("LoadXMLDoc", &V::LoadXMLDoc)
        .method("LoadXMLRootChild", &V::LoadXMLRootChild, {notGiven})
        .method("LoadXMLRoot", &V::LoadXMLRoot, {notGiven})
        .method("CreateXMLDoc", &V::CreateXMLDoc)
        .method("SaveXMLDoc", &V::SaveXMLDoc)
        .method("UpdateXMLRootChild", &V::UpdateXMLRootChild)
        .method("DeleteXMLRootChild", &V::DeleteXMLRootChild)
        .method("UpdateXMLRoot", &V::UpdateXMLRoot);
}

}  // namespace vantrel
