// The item list of the current column, read and changed by the host; the list editors copy it in
// each time they open.
#include "grid/editing/column_settings.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/errors.h"
#include "platform/controls/image_combo.h"

namespace vantrel {

namespace {
bool inList(const ColumnSettings& cs, int32_t index) { return index >= 1 && index <= cs.itemCount(); }
}  // namespace

void Vantrel::ComboAddItem(int32_t& Index, std::string& ItemText, ax::Variant& ItemImage,
                           ax::Variant& ItemSelImage, std::string& ItemData, int16_t& ItemIndentation) {
    auto& items = currentColumn().ComboItems;
    const int32_t newCount = static_cast<int32_t>(items.size());
    if (Index < 1 || Index > newCount) Index = newCount;
    ComboItem item;
    item.Text = ItemText;
    item.Data = ItemData;
    item.Image = ItemImage;
    item.SelImage = ItemSelImage;
    item.Indentation = ItemIndentation;
    items.insert(items.begin() + Index, std::move(item));
}

void Vantrel::ComboRemoveItem(int32_t& Index) {
    auto& cs = currentColumn();
    if (!inList(cs, Index)) return;
    cs.ComboItems.erase(cs.ComboItems.begin() + Index);
}

void Vantrel::ComboClear() { currentColumn().ComboItems.resize(1); }

std::string Vantrel::ComboItemText(int32_t index) const {
    requireUserMode();
    const auto& cs = currentColumn();
    return inList(cs, index) ? cs.ComboItems[index].Text : std::string();
}

void Vantrel::setComboItemText(int32_t index, const std::string& value) {
    requireUserMode();
    auto& cs = currentColumn();
    if (inList(cs, index)) cs.ComboItems[index].Text = value;
}

std::string Vantrel::ComboItemData(int32_t index) const {
    requireUserMode();
    const auto& cs = currentColumn();
    return inList(cs, index) ? cs.ComboItems[index].Data : std::string();
}

void Vantrel::setComboItemData(int32_t index, const std::string& value) {
    requireUserMode();
    auto& cs = currentColumn();
    if (inList(cs, index)) cs.ComboItems[index].Data = value;
}

ax::Variant Vantrel::ImageComboItemImage(int32_t index) const {
    requireUserMode();
    const auto& cs = currentColumn();
    return inList(cs, index) ? cs.ComboItems[index].Image : ax::Variant();
}

void Vantrel::setImageComboItemImage(int32_t index, const ax::Variant& value) {
    requireUserMode();
    auto& cs = currentColumn();
    if (inList(cs, index)) cs.ComboItems[index].Image = value;
}

ax::Variant Vantrel::ImageComboItemSelImage(int32_t index) const {
    requireUserMode();
    const auto& cs = currentColumn();
    return inList(cs, index) ? cs.ComboItems[index].SelImage : ax::Variant();
}

void Vantrel::setImageComboItemSelImage(int32_t index, const ax::Variant& value) {
    requireUserMode();
    auto& cs = currentColumn();
    if (inList(cs, index)) cs.ComboItems[index].SelImage = value;
}

int16_t Vantrel::ImageComboItemIndentation(int32_t index) const {
    requireUserMode();
    const auto& cs = currentColumn();
    return inList(cs, index) ? cs.ComboItems[index].Indentation : int16_t(0);
}

void Vantrel::setImageComboItemIndentation(int32_t index, int16_t value) {
    requireUserMode();
    auto& cs = currentColumn();
    if (inList(cs, index)) cs.ComboItems[index].Indentation = value;
}

int32_t Vantrel::ComboListCount() const {
    requireUserMode();
    return currentColumn().itemCount();
}

std::shared_ptr<ax::Object> Vantrel::ImageList() const { return ImgCombo_->ImageList(); }

void Vantrel::setImageList(std::shared_ptr<ax::Object> value) {
    auto list = std::dynamic_pointer_cast<ax::ImageList>(value);
    if (value && !list) ax::raise(ax::err::TypeMismatch);
    ImgCombo_->setImageList(std::move(list));
    notify("ImageList");
}

}  // namespace vantrel
