// A property bag kept in a small XML form file, so that a host can save a control's design-time
// settings and load them in a later run. One line per key, in the order the keys were written:
//
//   <properties version="1">
//       <property name="Rows" type="Long" value="5" />
//       <property name="Font" type="Font" fontName="Arial" size="9.75" bold="true" ... />
//       <property name="MouseIcon" type="Picture" data="iVBORw0KGgo..." />
//   </properties>
//
// Types: Empty, Null, Nothing, Integer, Long, Single, Double, Boolean, Date, String, Font and
// Picture (by file path, or embedded as base64 of the original file or of a PNG made from its
// pixels). Object references other than fonts and pictures cannot live in a file and are stored as
// Nothing; arrays are refused (error 13). A value read back has the type it was stored with.
#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/automation/variant.h"
#include "platform/host/property_bag.h"

namespace ax {

class XmlPropertyBag : public PropertyBag {
  public:
    enum class PictureStorage { Embedded, ByPath };

    // The stored value (fonts as a copy the caller may change), or defaultValue when absent. A key
    // whose entry was in the file but could not be read raises 380 (a picture that cannot be loaded
    // raises the picture's own error), so the reader learns the value is lost instead of silently
    // getting the default.
    Variant ReadProperty(std::string_view name, const Variant& defaultValue) override;
    // Stores the value; a value equal to its default is not stored and removes an older one.
    void WriteProperty(std::string_view name, const Variant& value, const Variant& defaultValue) override;

    // Writes the file through a temporary file and a rename; raises 75 when it cannot be written, or
    // when it is the file this bag's last load found but could read nothing of (another kind of file
    // is not overwritten), and 5 when a key or font name holds a character XML does not allow.
    void save(const std::string& path) const;
    // Replaces the contents by the file's. A damaged or truncated file loads every entry that can be
    // read; the rest is listed in problems() and load returns false, and the damaged entries whose
    // names can still be read are remembered as damaged(). Never throws for a bad file.
    bool load(const std::string& path);
    const std::vector<std::string>& problems() const { return problems_; }
    // Keys whose entries were present in the loaded file but damaged, in file order. Writing or
    // removing such a key forgets the damage.
    std::vector<std::string> damaged() const;

    // Pictures that came from a file can be stored by their path instead of their bytes (a picture
    // without a file is always embedded).
    void setPictureStorage(PictureStorage storage) { pictureStorage_ = storage; }
    PictureStorage pictureStorage() const { return pictureStorage_; }

    // Whether a readable value is stored under the name (a damaged key is not).
    bool contains(std::string_view name) const;
    void remove(std::string_view name);
    void clear() {
        entries_.clear();
        damaged_.clear();
    }
    // Keys with readable values, in file order.
    std::vector<std::string> keys() const;

  private:
    std::vector<std::pair<std::string, Variant>> entries_;
    std::vector<std::string> problems_;
    // A damaged key and the error reading it raises.
    struct Damage {
        std::string name;
        int32_t number;
        std::string description;
    };
    std::vector<Damage> damaged_;
    void forgetDamage(std::string_view name);
    PictureStorage pictureStorage_ = PictureStorage::Embedded;
    std::string unreadFile_;  // the file the last load found and could read nothing of
};

}  // namespace ax
