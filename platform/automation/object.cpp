#include "platform/automation/object.h"

#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/automation/errors.h"

namespace ax {

namespace {

constexpr InvokeKind kAllKinds[] = {InvokeKind::Method, InvokeKind::PropertyGet, InvokeKind::PropertyPut,
                                    InvokeKind::PropertyPutRef};

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (auto& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

// The names objects without a table of their own were asked for, numbered in the order asked.
// Entries are never removed, so a name handed out stays valid for the process.
class SharedNames {
  public:
    DispId idOf(std::string_view name) {
        std::lock_guard lock(mutex_);
        std::string key = lowerAscii(name);
        auto it = ids_.find(key);
        if (it != ids_.end()) return it->second;
        const DispId id = kFirstSharedNameId + DispId(names_.size());
        names_.emplace_back(name);
        ids_.emplace(std::move(key), id);
        return id;
    }
    // The name as first asked for; nullptr for an id this table did not hand out.
    const std::string* nameOf(DispId id) {
        std::lock_guard lock(mutex_);
        if (id < kFirstSharedNameId || size_t(id - kFirstSharedNameId) >= names_.size()) return nullptr;
        return &names_[size_t(id - kFirstSharedNameId)];
    }

  private:
    std::mutex mutex_;
    std::deque<std::string> names_;  // a deque keeps the strings in place as it grows
    std::unordered_map<std::string, DispId> ids_;
};

SharedNames& sharedNames() {
    static SharedNames* names = new SharedNames;  // outlives every object, also at exit
    return *names;
}

}  // namespace

Object::~Object() = default;

DispId Object::GetIdOfName(std::string_view name) const {
    for (InvokeKind k : kAllKinds)
        if (HasMember(name, k)) return name.empty() ? dispid::Value : sharedNames().idOf(name);
    return dispid::Unknown;
}

Variant Object::InvokeById(DispId id, InvokeKind kind, std::vector<Variant>& args) {
    if (id == dispid::Value) return Invoke(std::string_view(), kind, args);
    const std::string* name = sharedNames().nameOf(id);
    if (!name) raise(err::MemberNotFound);
    return Invoke(*name, kind, args);
}

Variant Object::Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) {
    const DispId id = GetIdOfName(name);
    if (id == dispid::Unknown) raise(err::MemberNotFound);
    return InvokeById(id, kind, args);
}

bool Object::HasMember(std::string_view, InvokeKind) const { return false; }

bool Object::DescribeMember(DispId id, MemberInfo& info) const {
    std::string_view name;
    if (id != dispid::Value) {
        const std::string* shared = sharedNames().nameOf(id);
        if (!shared) return false;
        name = *shared;
    }
    info = MemberInfo{};
    info.name = name;
    for (InvokeKind k : kAllKinds)
        if (HasMember(name, k)) info.kinds |= static_cast<uint8_t>(k);
    return info.kinds != 0;
}

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
