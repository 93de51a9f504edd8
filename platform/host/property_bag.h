// The host's property bag: named values saved with a form.
#pragma once
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/variant.h"

namespace ax {

class PropertyBag {
  public:
    virtual ~PropertyBag() = default;
    // The stored value, or defaultValue when the key is absent.
    virtual Variant ReadProperty(std::string_view name, const Variant& defaultValue) = 0;
    // Stores the value; a value equal to its default is not stored (and removes an older one).
    virtual void WriteProperty(std::string_view name, const Variant& value, const Variant& defaultValue) = 0;
};

// Whether a value equals a property's default, with the automation rules: numbers by value across
// kinds (Integer 1 equals Long 1), a date against its default text, fonts by attributes, pictures by
// handle ("no picture" in any form equals "no picture"), other objects by identity.
bool sameStoredValue(const Variant& value, const Variant& defaultValue);

// A bag in memory, for tests and for copying a control's settings.
class MemoryPropertyBag : public PropertyBag {
  public:
    Variant ReadProperty(std::string_view name, const Variant& defaultValue) override;
    void WriteProperty(std::string_view name, const Variant& value, const Variant& defaultValue) override;

    bool contains(std::string_view name) const { return values_.count(std::string(name)) != 0; }
    void put(std::string name, Variant value) { values_[std::move(name)] = std::move(value); }
    void remove(std::string_view name) { values_.erase(std::string(name)); }
    const std::map<std::string, Variant>& values() const { return values_; }
    // Keys in the order they were written (a save's order).
    const std::vector<std::string>& writeOrder() const { return order_; }
    // Keys in the order they were read (a load's order).
    const std::vector<std::string>& readOrder() const { return reads_; }

  private:
    std::map<std::string, Variant> values_;
    std::vector<std::string> order_;
    std::vector<std::string> reads_;
};

}  // namespace ax
