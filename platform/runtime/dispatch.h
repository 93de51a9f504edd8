// Dispatch by member name: a class declares its member table once, next to the class, binding each
// automation name to a typed C++ member. Arguments convert with the automation rules; parameters
// taken by non-const reference are written back into the caller's argument list.
#pragma once
#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/automation/object.h"
#include "platform/automation/variant.h"

namespace ax {

// --- Variant <-> C++ ----------------------------------------------------------------------------

template <class T>
struct is_shared_ptr : std::false_type {};
template <class T>
struct is_shared_ptr<std::shared_ptr<T>> : std::true_type {};

template <class T>
T fromVariant(const Variant& v) {
    if constexpr (std::is_same_v<T, Variant>) return v;
    else if constexpr (std::is_same_v<T, bool>) return cBool(v);
    else if constexpr (std::is_same_v<T, int16_t>) return cInt(v);
    else if constexpr (std::is_same_v<T, int32_t>) return cLng(v);
    else if constexpr (std::is_same_v<T, float>) return cSng(v);
    else if constexpr (std::is_same_v<T, double>) return cDbl(v);
    else if constexpr (std::is_same_v<T, uint32_t>) return static_cast<uint32_t>(cLng(v));  // OLE colours
    else if constexpr (std::is_same_v<T, Date>) return cDate(v);
    else if constexpr (std::is_same_v<T, std::string>) return cStr(v);
    else if constexpr (std::is_enum_v<T>) return static_cast<T>(cLng(v));
    else if constexpr (is_shared_ptr<T>::value) {
        using E = typename T::element_type;
        if (v.isEmpty()) return nullptr;
        const auto& o = v.object();
        if constexpr (std::is_same_v<E, Object>) return o;
        else {
            if (!o) return nullptr;
            auto p = std::dynamic_pointer_cast<E>(o);
            if (!p) raise(err::TypeMismatch);
            return p;
        }
    } else static_assert(sizeof(T) == 0, "no automation conversion for this type");
}

template <class T>
Variant toVariant(const T& value) {
    if constexpr (std::is_same_v<T, uint32_t>) return Variant(static_cast<int32_t>(value));
    else if constexpr (std::is_enum_v<T>) return Variant(static_cast<int32_t>(value));
    else if constexpr (is_shared_ptr<T>::value) return Variant(std::shared_ptr<Object>(value));
    else return Variant(value);
}

namespace detail {

std::string lowerName(std::string_view s);

// Holds one converted argument for the duration of a call; writes out-parameters back.
template <class P>
struct ArgHolder {
    using V = std::remove_cvref_t<P>;
    static constexpr bool isOut = std::is_lvalue_reference_v<P> && !std::is_const_v<std::remove_reference_t<P>>;
    V value;
    explicit ArgHolder(const Variant& v) : value(fromVariant<V>(v)) {}
    void writeBack(Variant* target) const {
        if constexpr (isOut) {
            if (target) *target = toVariant(value);
        }
    }
};

template <class T, class F, class R, class... A, size_t... I>
Variant callBound(T& self, F f, std::vector<Variant>& args, const std::vector<Variant>& defaults,
                  std::index_sequence<I...>) {
    constexpr size_t N = sizeof...(A);
    const size_t given = args.size();
    if (given > N || given + defaults.size() < N) raise(err::WrongArgumentCount);
    [[maybe_unused]] auto source = [&](size_t i) -> const Variant& {
        return i < given ? args[i] : defaults[defaults.size() - (N - i)];
    };
    std::tuple<ArgHolder<A>...> held{ArgHolder<A>(source(I))...};
    Variant result;
    if constexpr (std::is_void_v<R>) {
        std::invoke(f, self, std::get<I>(held).value...);
    } else {
        result = toVariant(std::invoke(f, self, std::get<I>(held).value...));
    }
    (std::get<I>(held).writeBack(I < given ? &args[I] : nullptr), ...);
    return result;
}

template <class T, class F>
struct Binder;
template <class T, class C, class R, class... A>
struct Binder<T, R (C::*)(A...)> {
    static constexpr size_t arity = sizeof...(A);
    static Variant call(T& s, R (C::*f)(A...), std::vector<Variant>& a, const std::vector<Variant>& d) {
        return callBound<T, decltype(f), R, A...>(s, f, a, d, std::index_sequence_for<A...>{});
    }
};
template <class T, class C, class R, class... A>
struct Binder<T, R (C::*)(A...) const> {
    static constexpr size_t arity = sizeof...(A);
    static Variant call(T& s, R (C::*f)(A...) const, std::vector<Variant>& a, const std::vector<Variant>& d) {
        return callBound<T, decltype(f), R, A...>(s, f, a, d, std::index_sequence_for<A...>{});
    }
};

}  // namespace detail

// The member table of one class.
template <class T>
class DispatchTable {
public:
    using Thunk = std::function<Variant(T&, std::vector<Variant>&)>;
    struct Member {
        std::string name;
        InvokeKind kind;
        Thunk call;
    };

    // A get bound to a member function; `defaults` fill omitted trailing arguments.
    template <class F>
    DispatchTable& get(std::string name, F f, std::vector<Variant> defaults = {}) {
        return add(std::move(name), InvokeKind::PropertyGet, bind(f, std::move(defaults)));
    }
    template <class F>
    DispatchTable& let(std::string name, F f, std::vector<Variant> defaults = {}) {
        return add(std::move(name), InvokeKind::PropertyPut, bind(f, std::move(defaults)));
    }
    template <class F>
    DispatchTable& set(std::string name, F f, std::vector<Variant> defaults = {}) {
        return add(std::move(name), InvokeKind::PropertyPutRef, bind(f, std::move(defaults)));
    }
    template <class F>
    DispatchTable& method(std::string name, F f, std::vector<Variant> defaults = {}) {
        return add(std::move(name), InvokeKind::Method, bind(f, std::move(defaults)));
    }
    // get + let, and get + set for object references.
    template <class G, class S>
    DispatchTable& prop(const std::string& name, G g, S s) {
        get(name, g);
        return let(name, s);
    }
    template <class G, class S>
    DispatchTable& propRef(const std::string& name, G g, S s) {
        get(name, g);
        return set(name, s);
    }
    // A member with hand-written argument handling.
    DispatchTable& raw(std::string name, InvokeKind kind, Thunk thunk) {
        return add(std::move(name), kind, std::move(thunk));
    }

    Variant invoke(T& self, std::string_view name, InvokeKind kind, std::vector<Variant>& args) const {
        const Member* m = find(name, kind);
        if (!m) raise(err::MemberNotFound);
        return m->call(self, args);
    }
    bool has(std::string_view name, InvokeKind kind) const { return find(name, kind) != nullptr; }

    const std::vector<Member>& members() const { return members_; }
    size_t count(InvokeKind kind) const {
        return size_t(std::count_if(members_.begin(), members_.end(), [&](const Member& m) { return m.kind == kind; }));
    }

private:
    template <class F>
    static Thunk bind(F f, std::vector<Variant> defaults) {
        if constexpr (std::is_member_function_pointer_v<F>) {
            return [f, d = std::move(defaults)](T& self, std::vector<Variant>& args) {
                return detail::Binder<T, F>::call(self, f, args, d);
            };
        } else {
            return Thunk(std::move(f));
        }
    }

    DispatchTable& add(std::string name, InvokeKind kind, Thunk thunk) {
        index_[key(detail::lowerName(name), kind)] = members_.size();
        members_.push_back(Member{std::move(name), kind, std::move(thunk)});
        return *this;
    }

    static std::string key(std::string lower, InvokeKind kind) {
        lower.push_back(char('0' + static_cast<int>(kind)));
        return lower;
    }

    const Member* lookup(const std::string& lower, InvokeKind kind) const {
        auto it = index_.find(key(lower, kind));
        return it == index_.end() ? nullptr : &members_[it->second];
    }

    // Late-bound callers do not always know whether a name is a method or a property: a call may
    // find a get (obj.Rows), a let may find a set and the other way round.
    const Member* find(std::string_view name, InvokeKind kind) const {
        const std::string lower = detail::lowerName(name);
        if (auto* m = lookup(lower, kind)) return m;
        switch (kind) {
            case InvokeKind::Method: return lookup(lower, InvokeKind::PropertyGet);
            case InvokeKind::PropertyGet: return lookup(lower, InvokeKind::Method);
            case InvokeKind::PropertyPut: return lookup(lower, InvokeKind::PropertyPutRef);
            case InvokeKind::PropertyPutRef: return lookup(lower, InvokeKind::PropertyPut);
        }
        return nullptr;
    }

    std::vector<Member> members_;
    std::unordered_map<std::string, size_t> index_;
};

// Declares Invoke and HasMember of a class through its table, defined by the class as
// `const ax::DispatchTable<Class>& Class::dispatchTable()`.
#define AX_DECLARE_DISPATCH(Class)                                                                    \
    ax::Variant Invoke(std::string_view name, ax::InvokeKind kind, std::vector<ax::Variant>& args) override { \
        return dispatchTable().invoke(*this, name, kind, args);                                      \
    }                                                                                                 \
    bool HasMember(std::string_view name, ax::InvokeKind kind) const override {                      \
        return dispatchTable().has(name, kind);                                                      \
    }                                                                                                 \
    static const ax::DispatchTable<Class>& dispatchTable()

}  // namespace ax
