// The base of every object that automation clients reach by reference (fonts, pictures, controls,
// image lists, recordsets, XML nodes): members are found by name at run time.
#pragma once
#include <memory>
#include <string_view>
#include <vector>

#include "platform/automation/variant.h"

namespace ax {

enum class InvokeKind : uint8_t { Method = 1, PropertyGet = 2, PropertyPut = 4, PropertyPutRef = 8 };

class Object : public std::enable_shared_from_this<Object> {
public:
    virtual ~Object();

    // Calls a member by name (case-insensitive). Arguments are passed by reference: a member that
    // writes an output parameter stores it into args. Unknown members raise 438, a wrong number of
    // arguments 450. For property lets and sets the value is the last argument.
    virtual Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args);

    // Whether the object answers a member of that name and kind.
    virtual bool HasMember(std::string_view name, InvokeKind kind) const;
};

// Convenience for late-bound callers: obj.get("Name"), obj.call("MoveNext").
Variant getProperty(Object& obj, std::string_view name, std::vector<Variant> args = {});
void letProperty(Object& obj, std::string_view name, Variant value, std::vector<Variant> index = {});
void setProperty(Object& obj, std::string_view name, Variant value, std::vector<Variant> index = {});
Variant callMethod(Object& obj, std::string_view name, std::vector<Variant> args = {});

}  // namespace ax
