// Image list and image combo: a list of pictures reached by number (from 1) or key, and a combo
// box whose entries may carry a picture, a picture for their selected state, and indentation.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/object.h"
#include "platform/controls/appearance.h"
#include "platform/host/child.h"
#include "platform/runtime/dispatch.h"

namespace ax {

// The numbered errors of these collections.
namespace listerr {
inline constexpr int32_t IndexOutOfBounds = 35600;
inline constexpr int32_t ElementNotFound = 35601;
inline constexpr int32_t KeyNotUnique = 35602;
}  // namespace listerr

namespace detail {
// Items numbered from 1, each with an optional key unique without regard to case.
template <class T>
class KeyedList {
  public:
    int32_t count() const { return static_cast<int32_t>(items_.size()); }
    // By number (1..count, else 35600) or by key (a text; unknown 35601); other kinds raise 13.
    std::shared_ptr<T> item(const Variant& indexOrKey) const;
    // The same without raising: nullptr when there is no such item.
    std::shared_ptr<T> find(const Variant& indexOrKey) const noexcept;
    // Inserts at index (Empty: at the end; else 1..count+1, else 35600) with the key (Empty or
    // the empty text: none; a key in use: 35602).
    void insert(const Variant& index, const Variant& key, std::shared_ptr<T> item);
    std::shared_ptr<T> remove(const Variant& indexOrKey);
    void clear() { items_.clear(); }
    const std::vector<std::shared_ptr<T>>& items() const { return items_; }

  private:
    void renumber();
    std::vector<std::shared_ptr<T>> items_;
};
}  // namespace detail

class ListImage : public Object {
  public:
    int32_t Index() const { return index_; }
    std::string Key() const { return key_; }
    void setKey(const std::string& v) { key_ = v; }
    PicturePtr Picture() const { return picture_; }
    void setPicture(PicturePtr p);  // a picture is required: none raises 481
    Variant Tag() const { return tag_; }
    void setTag(const Variant& v) { tag_ = v; }

    AX_DECLARE_DISPATCH(ListImage);

  private:
    friend class detail::KeyedList<ListImage>;
    friend class ListImages;
    int32_t index_ = 0;
    std::string key_;
    PicturePtr picture_;
    Variant tag_;
};

class ListImages : public Object {
  public:
    int32_t Count() const { return list_.count(); }
    std::shared_ptr<ListImage> Item(const Variant& indexOrKey) const { return list_.item(indexOrKey); }
    // Adds a picture (required: none or an empty one raises 481) at Index, with an optional Key.
    std::shared_ptr<ListImage> Add(const Variant& index, const Variant& key, const Variant& picture);
    void Remove(const Variant& indexOrKey) { list_.remove(indexOrKey); }
    void Clear() { list_.clear(); }
    const detail::KeyedList<ListImage>& list() const { return list_; }

    AX_DECLARE_DISPATCH(ListImages);

  private:
    detail::KeyedList<ListImage> list_;
};

class ImageList : public Object {
  public:
    ImageList() : images_(std::make_shared<ax::ListImages>()) {}

    std::shared_ptr<ax::ListImages> ListImages() const { return images_; }
    // Pixel size of the images: taken from the first image added unless set before.
    int16_t ImageWidth() const;
    void setImageWidth(int16_t v);
    int16_t ImageHeight() const;
    void setImageHeight(int16_t v);

    // The picture of an image by number or key; nullptr when there is none (never raises).
    PicturePtr pictureOf(const Variant& indexOrKey) const;

    AX_DECLARE_DISPATCH(ImageList);

  private:
    std::shared_ptr<ax::ListImages> images_;
    int16_t width_ = 0, height_ = 0;
};

class ComboItems;

class ComboItem : public Object {
  public:
    int32_t Index() const { return index_; }
    std::string Key() const { return key_; }
    void setKey(const std::string& v) { key_ = v; }
    std::string Text() const { return text_; }
    void setText(const std::string& v);
    // Image and SelImage name an image of the combo's image list by number or key; Empty for none.
    Variant Image() const { return image_; }
    void setImage(const Variant& v);
    Variant SelImage() const { return selImage_; }
    void setSelImage(const Variant& v);
    int16_t Indentation() const { return indentation_; }
    void setIndentation(int16_t v);  // 0 or more, else 380
    // At most one entry of a combo is selected; selecting one shows its text in the combo.
    bool Selected() const;
    void setSelected(bool v);
    Variant Tag() const { return tag_; }
    void setTag(const Variant& v) { tag_ = v; }

    AX_DECLARE_DISPATCH(ComboItem);

  private:
    friend class detail::KeyedList<ComboItem>;
    friend class ComboItems;
    void entryChanged();  // tells the owning combo that what its list shows changed
    int32_t index_ = 0;
    std::string key_, text_;
    Variant image_, selImage_, tag_;
    int16_t indentation_ = 0;
    ComboItems* owner_ = nullptr;
};

class ComboItems : public Object {
  public:
    ~ComboItems() override;

    int32_t Count() const { return list_.count(); }
    std::shared_ptr<ComboItem> Item(const Variant& indexOrKey) const { return list_.item(indexOrKey); }
    // Every argument may be omitted (Empty); Indentation omitted is 0.
    std::shared_ptr<ComboItem> Add(const Variant& index = {}, const Variant& key = {},
                                   const Variant& text = {}, const Variant& image = {},
                                   const Variant& selImage = {}, const Variant& indentation = {});
    void Remove(const Variant& indexOrKey);
    void Clear();
    const detail::KeyedList<ComboItem>& list() const { return list_; }

    std::shared_ptr<ComboItem> selected() const;
    // Makes item (one of these, or nullptr) the selected one; false when it is not one of these.
    bool select(const ComboItem* item);
    // Tell the owning combo that the selection or the selected entry's text changed, and that
    // the entries were cleared.
    Handler<> onSelectionChanged;
    Handler<> onCleared;
    Handler<> onEntriesChanged;  // an entry was added, removed or shows differently

    AX_DECLARE_DISPATCH(ComboItems);

  private:
    detail::KeyedList<ComboItem> list_;
    const ComboItem* selected_ = nullptr;
};

class ImageCombo : public Child {
  public:
    virtual std::shared_ptr<ax::ImageList> ImageList() const = 0;
    virtual void setImageList(std::shared_ptr<ax::ImageList> list) = 0;  // nullptr: none
    virtual std::shared_ptr<ax::ComboItems> ComboItems() const = 0;
    virtual std::shared_ptr<ComboItem> SelectedItem() const = 0;
    // nullptr selects nothing; an entry of another combo raises 380.
    virtual void setSelectedItem(std::shared_ptr<ComboItem> item) = 0;
    virtual std::string Text() const = 0;
    virtual void setText(const std::string& v) = 0;
    virtual int32_t SelStart() const = 0;
    virtual void setSelStart(int32_t v) = 0;
    virtual int32_t SelLength() const = 0;
    virtual void setSelLength(int32_t v) = 0;
    virtual std::string SelText() const = 0;
    virtual bool Locked() const = 0;  // the user can neither type nor choose
    virtual void setLocked(bool v) = 0;
    AX_CONTROL_FONT_AND_POINTER
    AX_CONTROL_COLOURS

    // The picture an entry shows (its selected picture while selected, when it has one), from
    // the image list; nullptr without an image list or a matching image.
    PicturePtr pictureOf(const ComboItem& item) const;

    Handler<> onChange;  // the text changed, typed or set
    Handler<> onClick;   // the user chose an entry, by mouse or keys
    Handler<> onDropDown;
    Handler<int16_t&, int16_t&> onKeyDown;
    Handler<int16_t&> onKeyPress;
    Handler<int16_t&, int16_t&> onKeyUp;
};

}  // namespace ax
