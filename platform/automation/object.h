// The base of every object that automation clients reach by reference (fonts, pictures, controls,
// image lists, recordsets, XML nodes): members are found by name at run time, or by the member id a
// caller resolved the name to once.
#pragma once
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/automation/variant.h"

namespace ax {

enum class InvokeKind : uint8_t { Method = 1, PropertyGet = 2, PropertyPut = 4, PropertyPutRef = 8 };

// A member id. One id stands for a name whatever the kind of call; the kind goes with each call.
using DispId = int32_t;
namespace dispid {
inline constexpr DispId Unknown = -1;  // a name the object does not answer
inline constexpr DispId Value = 0;     // the default member, called for an empty name
}  // namespace dispid

// What a host needs to present a member: the kinds of call it answers (InvokeKind bits, as declared,
// without the method/get and let/set fallbacks of late binding) and the parameters of its get or
// method. params is -1 when the member counts its arguments itself.
struct MemberInfo {
    std::string_view name;  // as declared; valid as long as the object's class is loaded
    uint8_t kinds = 0;
    int16_t params = -1;
    int16_t optional = 0;  // trailing parameters that may be omitted
    uint32_t byRef = 0;    // bit i set: parameter i is written back into the caller's argument
    bool answers(InvokeKind k) const { return (kinds & static_cast<uint8_t>(k)) != 0; }
};

class Object : public std::enable_shared_from_this<Object> {
  public:
    virtual ~Object();

    // The id of a member name (case-insensitive), dispid::Unknown when there is none. Ids stay the
    // same for the life of the object's class, so a caller resolves a name once.
    virtual DispId GetIdOfName(std::string_view name) const;

    // Calls a member by id. Arguments are passed by reference: a member that writes an output
    // parameter stores it into args; a caller may reuse args from call to call. An id the object
    // does not have, or a kind the member does not answer, raises 438; a wrong number of arguments
    // 450. For property lets and sets the value is the last argument.
    virtual Variant InvokeById(DispId id, InvokeKind kind, std::vector<Variant>& args);

    // Calls a member by name: the lookup and the call by id.
    virtual Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args);

    // Whether the object answers a member of that name and kind.
    virtual bool HasMember(std::string_view name, InvokeKind kind) const;

    // Describes a member; false for an unknown id. Objects declared with a dispatch table number
    // their members 1, 2, ... so a host can list them.
    virtual bool DescribeMember(DispId id, MemberInfo& info) const;
};

// Objects that answer only by name (they override Invoke and HasMember) get ids from one table of
// names shared by the process; these are above every id a dispatch table hands out.
inline constexpr DispId kFirstSharedNameId = 0x40000000;

// Convenience for late-bound callers: obj.get("Name"), obj.call("MoveNext").
Variant getProperty(Object& obj, std::string_view name, std::vector<Variant> args = {});
void letProperty(Object& obj, std::string_view name, Variant value, std::vector<Variant> index = {});
void setProperty(Object& obj, std::string_view name, Variant value, std::vector<Variant> index = {});
Variant callMethod(Object& obj, std::string_view name, std::vector<Variant> args = {});

}  // namespace ax
