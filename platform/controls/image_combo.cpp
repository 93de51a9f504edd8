#include "platform/controls/image_combo.h"

#include <algorithm>
#include <cctype>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"

namespace ax {

namespace detail {

namespace {
bool sameKey(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}
}  // namespace

template <class T>
std::shared_ptr<T> KeyedList<T>::item(const Variant& indexOrKey) const {
    if (indexOrKey.isString()) {
        const std::string& key = *indexOrKey.get<std::string>();
        for (const auto& it : items_)
            if (!it->key_.empty() && sameKey(it->key_, key)) return it;
        raise(listerr::ElementNotFound, "Element not found");
    }
    if (!indexOrKey.isNumeric()) raise(err::TypeMismatch);
    const int32_t i = cLng(indexOrKey);
    if (i < 1 || i > count()) raise(listerr::IndexOutOfBounds, "Index out of bounds");
    return items_[size_t(i - 1)];
}

template <class T>
std::shared_ptr<T> KeyedList<T>::find(const Variant& indexOrKey) const noexcept {
    try {
        return item(indexOrKey);
    } catch (const AutomationError&) {
        return nullptr;
    }
}

template <class T>
void KeyedList<T>::insert(const Variant& index, const Variant& key, std::shared_ptr<T> item) {
    const int32_t pos = index.isEmpty() ? count() + 1 : cLng(index);
    if (pos < 1 || pos > count() + 1) raise(listerr::IndexOutOfBounds, "Index out of bounds");
    const std::string k = key.isEmpty() ? std::string() : cStr(key);
    if (!k.empty()) {
        for (const auto& it : items_)
            if (sameKey(it->key_, k)) raise(listerr::KeyNotUnique, "Key is not unique in collection");
    }
    item->key_ = k;
    items_.insert(items_.begin() + (pos - 1), std::move(item));
    renumber();
}

template <class T>
std::shared_ptr<T> KeyedList<T>::remove(const Variant& indexOrKey) {
    std::shared_ptr<T> it = item(indexOrKey);
    items_.erase(items_.begin() + (it->index_ - 1));
    it->index_ = 0;
    renumber();
    return it;
}

template <class T>
void KeyedList<T>::renumber() {
    for (size_t i = 0; i < items_.size(); ++i) items_[i]->index_ = static_cast<int32_t>(i + 1);
}

template class KeyedList<ListImage>;
template class KeyedList<ComboItem>;

}  // namespace detail

// --- image list -------------------------------------------------------------------------------

void ListImage::setPicture(PicturePtr p) {
    if (!hasPicture(p)) raise(err::InvalidPicture);
    picture_ = std::move(p);
}

std::shared_ptr<ListImage> ListImages::Add(const Variant& index, const Variant& key, const Variant& picture) {
    PicturePtr p;
    if (!picture.isEmpty()) {
        p = std::dynamic_pointer_cast<Picture>(picture.object());
        if (picture.object() && !p) raise(err::TypeMismatch);
    }
    auto image = std::make_shared<ListImage>();
    image->setPicture(p);
    list_.insert(index, key, image);
    return image;
}

int16_t ImageList::ImageWidth() const {
    if (width_ == 0 && images_->Count() > 0)
        return static_cast<int16_t>(images_->list().items().front()->Picture()->Width());
    return width_;
}

int16_t ImageList::ImageHeight() const {
    if (height_ == 0 && images_->Count() > 0)
        return static_cast<int16_t>(images_->list().items().front()->Picture()->Height());
    return height_;
}

// The size is fixed once the list holds images.
void ImageList::setImageWidth(int16_t v) {
    if (v < 0 || images_->Count() > 0) raise(err::InvalidPropertyValue);
    width_ = v;
}

void ImageList::setImageHeight(int16_t v) {
    if (v < 0 || images_->Count() > 0) raise(err::InvalidPropertyValue);
    height_ = v;
}

PicturePtr ImageList::pictureOf(const Variant& indexOrKey) const {
    if (indexOrKey.isEmpty() || indexOrKey.isNull()) return nullptr;
    if (indexOrKey.isString() && indexOrKey.get<std::string>()->empty()) return nullptr;
    auto image = images_->list().find(indexOrKey);
    return image ? image->Picture() : nullptr;
}

const DispatchTable<ListImage>& ListImage::dispatchTable() {
    static const DispatchTable<ListImage> table = [] {
        DispatchTable<ListImage> t;
        t.get("Index", &ListImage::Index);
        t.prop("Key", &ListImage::Key, &ListImage::setKey);
        t.propRef("Picture", &ListImage::Picture, &ListImage::setPicture);
        t.prop("Tag", &ListImage::Tag, &ListImage::setTag);
        return t;
    }();
    return table;
}

const DispatchTable<ListImages>& ListImages::dispatchTable() {
    static const DispatchTable<ListImages> table = [] {
        DispatchTable<ListImages> t;
        t.get("Count", &ListImages::Count);
        t.get("Item", &ListImages::Item);
        t.method("Add", &ListImages::Add, {Variant(), Variant(), Variant()});
        t.method("Remove", &ListImages::Remove);
        t.method("Clear", &ListImages::Clear);
        return t;
    }();
    return table;
}

const DispatchTable<ImageList>& ImageList::dispatchTable() {
    static const DispatchTable<ImageList> table = [] {
        DispatchTable<ImageList> t;
        t.get("ListImages", &ImageList::ListImages);
        t.prop("ImageWidth", &ImageList::ImageWidth, &ImageList::setImageWidth);
        t.prop("ImageHeight", &ImageList::ImageHeight, &ImageList::setImageHeight);
        return t;
    }();
    return table;
}

// --- combo items ------------------------------------------------------------------------------

void ComboItem::setText(const std::string& v) {
    text_ = v;
    if (Selected()) fire(owner_->onSelectionChanged);
    entryChanged();
}

void ComboItem::setImage(const Variant& v) {
    image_ = v;
    entryChanged();
}

void ComboItem::setSelImage(const Variant& v) {
    selImage_ = v;
    entryChanged();
}

void ComboItem::setIndentation(int16_t v) {
    if (v < 0) raise(err::InvalidPropertyValue);
    indentation_ = v;
    entryChanged();
}

void ComboItem::entryChanged() {
    if (owner_) fire(owner_->onEntriesChanged);
}

bool ComboItem::Selected() const { return owner_ && owner_->selected().get() == this; }

void ComboItem::setSelected(bool v) {
    if (!owner_) return;  // an entry that was removed from its combo
    if (v)
        owner_->select(this);
    else if (Selected())
        owner_->select(nullptr);
}

ComboItems::~ComboItems() {
    for (const auto& it : list_.items()) it->owner_ = nullptr;
}

std::shared_ptr<ComboItem> ComboItems::Add(const Variant& index, const Variant& key, const Variant& text,
                                           const Variant& image, const Variant& selImage,
                                           const Variant& indentation) {
    auto item = std::make_shared<ComboItem>();
    item->text_ = text.isEmpty() ? std::string() : cStr(text);
    item->image_ = image;
    item->selImage_ = selImage;
    if (!indentation.isEmpty()) item->setIndentation(cInt(indentation));
    list_.insert(index, key, item);
    item->owner_ = this;
    fire(onEntriesChanged);
    return item;
}

void ComboItems::Remove(const Variant& indexOrKey) {
    auto item = list_.remove(indexOrKey);
    item->owner_ = nullptr;
    if (selected_ == item.get()) {
        selected_ = nullptr;
        fire(onSelectionChanged);
    }
    fire(onEntriesChanged);
}

void ComboItems::Clear() {
    for (const auto& it : list_.items()) it->owner_ = nullptr;
    list_.clear();
    if (selected_) {
        selected_ = nullptr;
        fire(onSelectionChanged);
    }
    fire(onCleared);
    fire(onEntriesChanged);
}

std::shared_ptr<ComboItem> ComboItems::selected() const {
    for (const auto& it : list_.items())
        if (it.get() == selected_) return it;
    return nullptr;
}

bool ComboItems::select(const ComboItem* item) {
    if (item && item->owner_ != this) return false;
    if (item == selected_) return true;
    selected_ = item;
    fire(onSelectionChanged);
    return true;
}

const DispatchTable<ComboItem>& ComboItem::dispatchTable() {
    static const DispatchTable<ComboItem> table = [] {
        DispatchTable<ComboItem> t;
        t.get("Index", &ComboItem::Index);
        t.prop("Key", &ComboItem::Key, &ComboItem::setKey);
        t.prop("Text", &ComboItem::Text, &ComboItem::setText);
        t.prop("Image", &ComboItem::Image, &ComboItem::setImage);
        t.prop("SelImage", &ComboItem::SelImage, &ComboItem::setSelImage);
        t.prop("Indentation", &ComboItem::Indentation, &ComboItem::setIndentation);
        t.prop("Selected", &ComboItem::Selected, &ComboItem::setSelected);
        t.prop("Tag", &ComboItem::Tag, &ComboItem::setTag);
        return t;
    }();
    return table;
}

const DispatchTable<ComboItems>& ComboItems::dispatchTable() {
    static const DispatchTable<ComboItems> table = [] {
        DispatchTable<ComboItems> t;
        t.get("Count", &ComboItems::Count);
        t.get("Item", &ComboItems::Item);
        t.method("Add", &ComboItems::Add, {Variant(), Variant(), Variant(), Variant(), Variant(), Variant()});
        t.method("Remove", &ComboItems::Remove);
        t.method("Clear", &ComboItems::Clear);
        return t;
    }();
    return table;
}

PicturePtr ImageCombo::pictureOf(const ComboItem& item) const {
    auto list = ImageList();
    if (!list) return nullptr;
    if (item.Selected()) {
        if (auto p = list->pictureOf(item.SelImage())) return p;
    }
    return list->pictureOf(item.Image());
}

}  // namespace ax
