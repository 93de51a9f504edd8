#include "platform/host/property_bag.h"

#include <cmath>

#include "platform/automation/errors.h"
#include "platform/automation/font.h"
#include "platform/automation/object.h"
#include "platform/automation/picture.h"

namespace ax {

namespace {

bool isNothing(const Variant& v) {
    if (v.isEmpty()) return true;
    if (!v.isObject()) return false;
    const auto& o = v.object();
    if (!o) return true;
    auto pic = std::dynamic_pointer_cast<Picture>(o);
    return pic && pic->Handle() == 0;
}

bool isDate(const Variant& v) { return v.type() == VarType::Date; }

}  // namespace

bool sameStoredValue(const Variant& a, const Variant& b) {
    if (a.isObject() || b.isObject()) {
        // "No picture" may be written as Empty, a null reference or an empty picture.
        if (isNothing(a) && isNothing(b)) return true;
        if (!a.isObject() || !b.isObject()) return false;
        const auto& oa = a.object();
        const auto& ob = b.object();
        if (oa == ob) return true;
        if (!oa || !ob) return false;
        auto fa = std::dynamic_pointer_cast<Font>(oa);
        auto fb = std::dynamic_pointer_cast<Font>(ob);
        if (fa && fb) return fa->sameAs(*fb);
        auto pa = std::dynamic_pointer_cast<Picture>(oa);
        auto pb = std::dynamic_pointer_cast<Picture>(ob);
        if (pa && pb) return pa->Handle() == pb->Handle();
        return false;
    }
    if (a.isEmpty() || b.isEmpty()) return a.isEmpty() && b.isEmpty();
    if (a.isNull() || b.isNull()) return a.isNull() && b.isNull();
    if (a.isArray() || b.isArray()) return a.isArray() && b.isArray() && a.array() == b.array();
    if (a.isString() && b.isString()) return *a.get<std::string>() == *b.get<std::string>();
    try {
        // A date default may be given as its text ("12/31/9999"); numbers compare by value across
        // kinds (Integer 1 equals Long 1, True equals -1).
        if (isDate(a) || isDate(b)) return a.toDate().value == b.toDate().value;
        return a.toDouble() == b.toDouble();
    } catch (const AutomationError&) {
        return false;  // a text that is no number differs from every number
    }
}

Variant MemoryPropertyBag::ReadProperty(std::string_view name, const Variant& defaultValue) {
    reads_.emplace_back(name);
    auto it = values_.find(std::string(name));
    if (it == values_.end()) return defaultValue;
    // A loaded font is the control's own object: changing it must not change the saved one.
    if (it->second.isObject())
        if (auto f = std::dynamic_pointer_cast<Font>(it->second.object())) return Variant(f->clone());
    return it->second;
}

void MemoryPropertyBag::WriteProperty(std::string_view name, const Variant& value,
                                      const Variant& defaultValue) {
    order_.emplace_back(name);
    if (sameStoredValue(value, defaultValue)) {
        values_.erase(std::string(name));
        return;
    }
    Variant stored = value;
    if (value.isObject())
        if (auto f = std::dynamic_pointer_cast<Font>(value.object())) stored = Variant(f->clone());
    values_[std::string(name)] = std::move(stored);
}

}  // namespace ax
