// Dispatch by member id and name: a class declares its member table once, next to the class, binding
// each automation name to a typed C++ member. The table numbers the names 1, 2, ... in declaration
// order (one id per name, for every kind of call); a late-bound caller resolves a name once and then
// calls by id. Arguments convert with the automation rules; parameters taken by non-const reference
// are written back into the caller's argument list.
#pragma once
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
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
    if constexpr (std::is_same_v<T, Variant>)
        return v;
    else if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, int16_t> || std::is_same_v<T, int32_t> ||
                       std::is_same_v<T, double>) {
        // A value already of the parameter's kind needs no conversion (the common case of a call).
        if (const T* same = v.get<T>()) return *same;
        if constexpr (std::is_same_v<T, bool>)
            return cBool(v);
        else if constexpr (std::is_same_v<T, int16_t>)
            return cInt(v);
        else if constexpr (std::is_same_v<T, int32_t>)
            return cLng(v);
        else
            return cDbl(v);
    } else if constexpr (std::is_same_v<T, float>)
        return cSng(v);
    else if constexpr (std::is_same_v<T, uint32_t>)
        return static_cast<uint32_t>(cLng(v));  // OLE colours
    else if constexpr (std::is_same_v<T, Date>)
        return cDate(v);
    else if constexpr (std::is_same_v<T, std::string>)
        return cStr(v);
    else if constexpr (std::is_enum_v<T>)
        return static_cast<T>(cLng(v));
    else if constexpr (is_shared_ptr<T>::value) {
        using E = typename T::element_type;
        if (v.isEmpty()) return nullptr;
        const auto& o = v.object();
        if constexpr (std::is_same_v<E, Object>)
            return o;
        else {
            if (!o) return nullptr;
            auto p = std::dynamic_pointer_cast<E>(o);
            if (!p) raise(err::TypeMismatch);
            return p;
        }
    } else
        static_assert(sizeof(T) == 0, "no automation conversion for this type");
}

template <class T>
Variant toVariant(T&& value) {
    using V = std::remove_cvref_t<T>;
    if constexpr (std::is_same_v<V, uint32_t>)
        return Variant(static_cast<int32_t>(value));
    else if constexpr (std::is_enum_v<V>)
        return Variant(static_cast<int32_t>(value));
    else if constexpr (is_shared_ptr<V>::value)
        return Variant(std::shared_ptr<Object>(std::forward<T>(value)));
    else
        return Variant(std::forward<T>(value));  // a text result moves into the Variant
}

namespace detail {

std::string lowerName(std::string_view s);

// Member names compare without regard to ASCII case; the hash folds case the same way, so a lookup
// needs no lower-case copy of the name. Both work on eight bytes at a time: a name is looked up on
// every call by name.
inline uint64_t wordOf(const char* p, size_t n) {  // n <= 8 bytes
    // Shorter texts load as two overlapping halves: every byte lands in the word, with no loop.
    uint64_t x = 0;
    if (n == 8) {
        std::memcpy(&x, p, 8);
    } else if (n >= 4) {
        uint32_t lo, hi;
        std::memcpy(&lo, p, 4);
        std::memcpy(&hi, p + n - 4, 4);
        x = lo | uint64_t(hi) << 32;
    } else if (n >= 2) {
        uint16_t lo, hi;
        std::memcpy(&lo, p, 2);
        std::memcpy(&hi, p + n - 2, 2);
        x = lo | uint64_t(hi) << 16;
    } else if (n == 1) {
        x = static_cast<unsigned char>(p[0]);
    }
    return x;
}
inline uint64_t folded(uint64_t x) {  // ASCII upper case made lower, byte by byte
    constexpr uint64_t ones = 0x0101010101010101ull;
    const uint64_t low7 = x & (0x7f * ones);
    const uint64_t atLeastA = low7 + (0x80 - 'A') * ones;    // bit 7 set where the byte is >= 'A'
    const uint64_t aboveZ = low7 + (0x80 - 'Z' - 1) * ones;  // bit 7 set where the byte is > 'Z'
    const uint64_t upper = atLeastA & ~aboveZ & ~x & (0x80 * ones);
    return x | (upper >> 2);  // 0x80 >> 2 is the 0x20 between the cases
}
inline uint64_t foldedWord(const char* p, size_t n) { return folded(wordOf(p, n)); }
// The first and the last eight bytes (overlapping in a name shorter than sixteen) stand for the
// whole name: member names of one class rarely share both ends and their length.
inline uint64_t foldedEnds(const char* p, size_t n, uint64_t* last) {
    if (n >= 8) {
        *last = foldedWord(p + n - 8, 8);
        return foldedWord(p, 8);
    }
    *last = 0;
    return foldedWord(p, n);
}
struct NameHash {
    using is_transparent = void;
    // One multiplication: a table takes its slot from the high bits, which mix every input bit.
    size_t operator()(std::string_view s) const noexcept {
        uint64_t last = 0;
        const uint64_t first = foldedEnds(s.data(), s.size(), &last);
        return size_t((first ^ std::rotl(last, 29) ^ s.size()) * 0x9e3779b97f4a7c15ull);
    }
};
struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); i += 8) {
            const size_t n = std::min<size_t>(8, a.size() - i);
            const uint64_t x = wordOf(a.data() + i, n), y = wordOf(b.data() + i, n);
            if (x != y && folded(x) != folded(y)) return false;  // folding only where the spelling differs
        }
        return true;
    }
};

// Holds one converted argument for the duration of a call; writes out-parameters back.
template <class P>
struct ArgHolder {
    using V = std::remove_cvref_t<P>;
    static constexpr bool isOut =
        std::is_lvalue_reference_v<P> && !std::is_const_v<std::remove_reference_t<P>>;
    V value;
    explicit ArgHolder(const Variant& v) : value(fromVariant<V>(v)) {}
    V& get() { return value; }
    void writeBack(Variant* target) const {
        if constexpr (isOut) {
            if (target) *target = toVariant(value);
        }
    }
};

// Text and Variant parameters taken by const reference read the caller's argument in place when it
// already has that form, so passing a text costs no copy.
template <>
struct ArgHolder<const std::string&> {
    static constexpr bool isOut = false;
    std::optional<std::string> own;  // only for an argument that is not already a text
    const std::string* ref;
    ArgHolder(const ArgHolder&) = delete;
    explicit ArgHolder(const Variant& v) : ref(v.get<std::string>()) {
        if (!ref) ref = &own.emplace(cStr(v));
    }
    const std::string& get() { return *ref; }
    void writeBack(Variant*) const {}
};
template <>
struct ArgHolder<const Variant&> {
    static constexpr bool isOut = false;
    const Variant& ref;
    explicit ArgHolder(const Variant& v) : ref(v) {}
    const Variant& get() { return ref; }
    void writeBack(Variant*) const {}
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
    // Built in place: a holder that converted its argument points into itself, so it must not move.
    std::tuple<ArgHolder<A>...> held{source(I)...};
    auto writeBack = [&] { (std::get<I>(held).writeBack(I < given ? &args[I] : nullptr), ...); };
    if constexpr (std::is_void_v<R>) {
        std::invoke(f, self, std::get<I>(held).get()...);
        writeBack();
        return Variant();
    } else {
        // The result is made by one expression, so a text result is built where the caller's Variant
        // lives: a named result would be moved when the compiler does not elide it.
        auto call = [&]() -> R {
            if constexpr ((ArgHolder<A>::isOut || ...)) {
                R r = std::invoke(f, self, std::get<I>(held).get()...);
                writeBack();
                return r;
            } else {
                return std::invoke(f, self, std::get<I>(held).get()...);
            }
        };
        if constexpr (std::is_same_v<R, std::string>)
            return Variant::ofText(call);
        else
            return toVariant(call());
    }
}

template <class... A>
constexpr uint32_t byRefMask() {
    uint32_t mask = 0, bit = 1;
    ((mask |= ArgHolder<A>::isOut ? bit : 0, bit <<= 1), ...);
    return mask;
}

template <class T, class F>
struct Binder;
template <class T, class C, class R, class... A>
struct Binder<T, R (C::*)(A...)> {
    static constexpr size_t arity = sizeof...(A);
    static constexpr uint32_t byRef = byRefMask<A...>();
    static Variant call(T& s, R (C::*f)(A...), std::vector<Variant>& a, const std::vector<Variant>& d) {
        return callBound<T, decltype(f), R, A...>(s, f, a, d, std::index_sequence_for<A...>{});
    }
};
template <class T, class C, class R, class... A>
struct Binder<T, R (C::*)(A...) const> {
    static constexpr size_t arity = sizeof...(A);
    static constexpr uint32_t byRef = byRefMask<A...>();
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
        Thunk call;           // a hand-written member; empty for a bound member function
        int16_t params = -1;  // -1 for a thunk that counts its own arguments
        int16_t optional = 0;
        uint32_t byRef = 0;
        // A bound member function is called through a plain function that knows its type, with the
        // member pointer's bytes and the defaults kept here: one indirect call on the hot path.
        Variant (*bound)(T&, const Member&, std::vector<Variant>&) = nullptr;
        alignas(void*) unsigned char function[2 * sizeof(void*)] = {};
        std::vector<Variant> defaults = {};

        Variant operator()(T& self, std::vector<Variant>& args) const {
            return bound ? bound(self, *this, args) : call(self, args);
        }
    };

    // A get bound to a member function; `defaults` fill omitted trailing arguments.
    template <class F>
    DispatchTable& get(std::string name, F f, std::vector<Variant> defaults = {}) {
        return add(bind(std::move(name), InvokeKind::PropertyGet, f, std::move(defaults)));
    }
    template <class F>
    DispatchTable& let(std::string name, F f, std::vector<Variant> defaults = {}) {
        return add(bind(std::move(name), InvokeKind::PropertyPut, f, std::move(defaults)));
    }
    template <class F>
    DispatchTable& set(std::string name, F f, std::vector<Variant> defaults = {}) {
        return add(bind(std::move(name), InvokeKind::PropertyPutRef, f, std::move(defaults)));
    }
    template <class F>
    DispatchTable& method(std::string name, F f, std::vector<Variant> defaults = {}) {
        return add(bind(std::move(name), InvokeKind::Method, f, std::move(defaults)));
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
        return add(Member{std::move(name), kind, std::move(thunk)});
    }
    // The member an empty name and dispid::Value call (a collection's Item, a field's Value).
    DispatchTable& defaultMember(std::string_view name) {
        default_ = idOf(name);
        return *this;
    }

    DispId idOf(std::string_view name) const {
        if (name.empty()) return default_ == dispid::Unknown ? dispid::Unknown : dispid::Value;
        if (slots_.empty()) return dispid::Unknown;
        const size_t hash = detail::NameHash{}(name);
        for (size_t i = hash >> shift_;; i = (i + 1) & mask()) {
            const Slot& slot = slots_[i];
            if (slot.id == dispid::Unknown) return dispid::Unknown;
            if (slot.hash == hash && detail::NameEqual{}(names_[size_t(slot.id) - 1].name, name))
                return slot.id;
        }
    }

    Variant invoke(T& self, DispId id, InvokeKind kind, std::vector<Variant>& args) const {
        const Member* m = find(id, kind);
        if (!m) raise(err::MemberNotFound);
        return (*m)(self, args);
    }
    Variant invoke(T& self, std::string_view name, InvokeKind kind, std::vector<Variant>& args) const {
        return invoke(self, idOf(name), kind, args);
    }
    bool has(std::string_view name, InvokeKind kind) const { return find(idOf(name), kind) != nullptr; }

    bool describe(DispId id, MemberInfo& info) const {
        if (id == dispid::Value) id = default_;
        if (id < 1 || size_t(id) > names_.size()) return false;
        const Name& n = names_[size_t(id) - 1];
        info = MemberInfo{};
        info.name = n.name;
        for (size_t slot = 0; slot < n.member.size(); ++slot)
            if (n.member[slot] >= 0) info.kinds |= uint8_t(1u << slot);
        // The parameters a host reads with: the get's, else the method's.
        for (int slot : {1, 0}) {
            if (n.member[size_t(slot)] < 0) continue;
            const Member& m = members_[size_t(n.member[size_t(slot)])];
            info.params = m.params;
            info.optional = m.optional;
            info.byRef = m.byRef;
            break;
        }
        return true;
    }

    const std::vector<Member>& members() const { return members_; }
    size_t count(InvokeKind kind) const {
        return size_t(
            std::count_if(members_.begin(), members_.end(), [&](const Member& m) { return m.kind == kind; }));
    }

  private:
    // One id: the members of each kind under that name (InvokeKind bit position as the slot).
    struct Name {
        std::string name;
        std::array<int32_t, 4> member{-1, -1, -1, -1};
    };

    static size_t slotOf(InvokeKind kind) { return size_t(std::countr_zero(unsigned(kind))); }

    template <class F>
    static Member bind(std::string name, InvokeKind kind, F f, std::vector<Variant> defaults) {
        if constexpr (std::is_member_function_pointer_v<F>) {
            using B = detail::Binder<T, F>;
            static_assert(sizeof(F) <= sizeof(Member::function) && std::is_trivially_copyable_v<F>);
            Member m{
                std::move(name), kind, {}, int16_t(B::arity), int16_t(std::min(defaults.size(), B::arity)),
                B::byRef};
            m.bound = [](T& self, const Member& member, std::vector<Variant>& args) {
                F f;
                std::memcpy(&f, member.function, sizeof f);
                return B::call(self, f, args, member.defaults);
            };
            std::memcpy(m.function, &f, sizeof f);
            m.defaults = std::move(defaults);
            return m;
        } else {
            return Member{std::move(name), kind, Thunk(std::move(f))};
        }
    }

    DispatchTable& add(Member m) {
        DispId id = idOf(m.name);
        if (id == dispid::Unknown) {
            names_.push_back(Name{m.name});
            id = DispId(names_.size());
            if (slots_.size() < 2 * names_.size())
                rehash();  // at most half full: short probes
            else
                insert(id);
        }
        names_[size_t(id) - 1].member[slotOf(m.kind)] = int32_t(members_.size());
        members_.push_back(std::move(m));
        return *this;
    }

    // The name index: open addressing over the names' hashes, probing forward.
    struct Slot {
        size_t hash = 0;
        DispId id = dispid::Unknown;
    };
    size_t mask() const { return slots_.size() - 1; }
    void insert(DispId id) {
        const size_t hash = detail::NameHash{}(names_[size_t(id) - 1].name);
        size_t i = hash >> shift_;
        while (slots_[i].id != dispid::Unknown) i = (i + 1) & mask();
        slots_[i] = Slot{hash, id};
    }
    void rehash() {
        slots_.assign(std::bit_ceil(4 * names_.size()), Slot{});
        shift_ = 64 - std::countr_zero(slots_.size());
        for (size_t id = 1; id <= names_.size(); ++id) insert(DispId(id));
    }

    // Late-bound callers do not always know whether a name is a method or a property: a call may
    // find a get (obj.Rows), a let may find a set and the other way round.
    const Member* find(DispId id, InvokeKind kind) const {
        if (id == dispid::Value) id = default_;
        if (id < 1 || size_t(id) > names_.size()) return nullptr;
        const auto& perKind = names_[size_t(id) - 1].member;
        int32_t m = perKind[slotOf(kind)];
        if (m < 0) {
            switch (kind) {
                case InvokeKind::Method:
                    m = perKind[slotOf(InvokeKind::PropertyGet)];
                    break;
                case InvokeKind::PropertyGet:
                    m = perKind[slotOf(InvokeKind::Method)];
                    break;
                case InvokeKind::PropertyPut:
                    m = perKind[slotOf(InvokeKind::PropertyPutRef)];
                    break;
                case InvokeKind::PropertyPutRef:
                    m = perKind[slotOf(InvokeKind::PropertyPut)];
                    break;
            }
        }
        return m < 0 ? nullptr : &members_[size_t(m)];
    }

    std::vector<Member> members_;
    std::vector<Name> names_;  // id - 1
    std::vector<Slot> slots_;  // a power of two in size
    int shift_ = 64;           // the hash's top bits that pick a slot (a 64-bit hash)
    static_assert(sizeof(size_t) == 8);
    DispId default_ = dispid::Unknown;
};

// Declares the id members of a class (GetIdOfName, InvokeById, HasMember, DescribeMember) through its
// table, defined by the class as `const ax::DispatchTable<Class>& Class::dispatchTable()`. A class
// that answers some names before its table (a recordset's hot names) declares Invoke itself.
#define AX_DECLARE_DISPATCH_IDS(Class)                                                                    \
    ax::DispId GetIdOfName(std::string_view name) const override { return dispatchTable().idOf(name); }   \
    ax::Variant InvokeById(ax::DispId id, ax::InvokeKind kind, std::vector<ax::Variant>& args) override { \
        return dispatchTable().invoke(*this, id, kind, args);                                             \
    }                                                                                                     \
    bool HasMember(std::string_view name, ax::InvokeKind kind) const override {                           \
        return dispatchTable().has(name, kind);                                                           \
    }                                                                                                     \
    bool DescribeMember(ax::DispId id, ax::MemberInfo& info) const override {                             \
        return dispatchTable().describe(id, info);                                                        \
    }                                                                                                     \
    static const ax::DispatchTable<Class>& dispatchTable()

// The id members and Invoke by name, a lookup in the table and the call by id.
#define AX_DECLARE_DISPATCH(Class)                                                                 \
    ax::Variant Invoke(std::string_view name, ax::InvokeKind kind, std::vector<ax::Variant>& args) \
        override {                                                                                 \
        return dispatchTable().invoke(*this, name, kind, args);                                    \
    }                                                                                              \
    AX_DECLARE_DISPATCH_IDS(Class)

}  // namespace ax
