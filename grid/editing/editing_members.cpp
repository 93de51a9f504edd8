// The combo item list and image list members, by name.
#include "grid/frame/vantrel.h"

namespace vantrel {

void Vantrel::addEditingMembers(ax::DispatchTable<Vantrel>& t) {
    // Every argument of the three methods is optional; a given Index comes back as the item's position.
    t.method("ComboAddItem", &Vantrel::ComboAddItem,
             {ax::Variant(int32_t(0)), ax::Variant(""), ax::Variant(""), ax::Variant(""), ax::Variant(""),
              ax::Variant(int16_t(0))});
    t.method("ComboRemoveItem", &Vantrel::ComboRemoveItem);
    t.method("ComboClear", &Vantrel::ComboClear);
    t.prop("ComboItemText", &Vantrel::ComboItemText, &Vantrel::setComboItemText);
    t.prop("ComboItemData", &Vantrel::ComboItemData, &Vantrel::setComboItemData);
    t.prop("ImageComboItemImage", &Vantrel::ImageComboItemImage, &Vantrel::setImageComboItemImage);
    t.prop("ImageComboItemSelImage", &Vantrel::ImageComboItemSelImage, &Vantrel::setImageComboItemSelImage);
    t.prop("ImageComboItemIndentation", &Vantrel::ImageComboItemIndentation,
           &Vantrel::setImageComboItemIndentation);
    t.get("ComboListCount", &Vantrel::ComboListCount);
    t.propRef("ImageList", &Vantrel::ImageList, &Vantrel::setImageList);
}

}  // namespace vantrel
