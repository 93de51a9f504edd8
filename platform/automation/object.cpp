#include "platform/automation/object.h"

#include "platform/automation/errors.h"

namespace ax {

Object::~Object() = default;

Variant Object::Invoke(std::string_view, InvokeKind, std::vector<Variant>&) { raise(err::MemberNotFound); }

bool Object::HasMember(std::string_view, InvokeKind) const { return false; }

Variant getProperty(Object& obj, std::string_view name, std::vector<Variant> args) {
    return obj.Invoke(name, InvokeKind::PropertyGet, args);
}

void letProperty(Object& obj, std::string_view name, Variant value, std::vector<Variant> index) {
    index.push_back(std::move(value));
    obj.Invoke(name, InvokeKind::PropertyPut, index);
}

void setProperty(Object& obj, std::string_view name, Variant value, std::vector<Variant> index) {
    index.push_back(std::move(value));
    obj.Invoke(name, InvokeKind::PropertyPutRef, index);
}

Variant callMethod(Object& obj, std::string_view name, std::vector<Variant> args) {
    return obj.Invoke(name, InvokeKind::Method, args);
}

}  // namespace ax
