// vantrel.Object and the callables its attributes give: members resolved to ids once per name and
// class, properties read and set as attributes, indexed properties and methods as callables.
#include <cxxabi.h>

#include <cstdlib>
#include <typeindex>
#include <unordered_map>

#include "platform/automation/errors.h"
#include "python/src/host.h"

namespace vpy {

namespace {

using ax::InvokeKind;

// --- names resolved once ------------------------------------------------------------------------

struct ExactHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
};
struct ExactEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept { return a == b; }
};
using Names = std::unordered_map<std::string, Member, ExactHash, ExactEqual>;

// Per class of object, the spellings Python used and what they resolved to (unknown names too).
// Ids belong to the class, so every object of it shares them. Never freed: the component libraries
// stay loaded for the life of the process.
std::unordered_map<std::type_index, Names>& resolved() {
    static auto* map = new std::unordered_map<std::type_index, Names>;
    return *map;
}

// --- calls in progress --------------------------------------------------------------------------------

struct Calls {
    int depth = 0;
    std::vector<std::shared_ptr<void>> released;  // let go of while a call ran
};
Calls& calls() {
    static auto* c = new Calls;
    return *c;
}

// --- argument lists reused from call to call ---------------------------------------------------------

// One list per depth of nested calls (an event handler calling back into a component).
struct ArgumentLists {
    std::vector<std::unique_ptr<std::vector<ax::Variant>>> lists;
    size_t depth = 0;
};
ArgumentLists& argumentLists() {
    static auto* lists = new ArgumentLists;
    return *lists;
}

class Arguments {
    CallScope scope_;

  public:
    Arguments() : pool_(argumentLists()) {
        if (pool_.depth == pool_.lists.size())
            pool_.lists.push_back(std::make_unique<std::vector<ax::Variant>>());
        list_ = pool_.lists[pool_.depth++].get();
    }
    ~Arguments() {
        list_->clear();  // lets go of texts and objects now, keeps the storage
        --pool_.depth;
    }
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;
    std::vector<ax::Variant>& list() { return *list_; }

  private:
    ArgumentLists& pool_;
    std::vector<ax::Variant>* list_;
};

// --- calls --------------------------------------------------------------------------------------------

ax::Variant call(const Handle& h, const Member& m, InvokeKind kind, std::vector<ax::Variant>& a) {
    return h.object->InvokeById(m.id, kind, a);
}

py::args argsOf(py::handle key) {
    if (PyTuple_Check(key.ptr())) return py::reinterpret_borrow<py::args>(key);
    return py::reinterpret_steal<py::args>(py::make_tuple(key).release());
}

bool isDunder(std::string_view n) { return n.size() > 4 && n.starts_with("__") && n.ends_with("__"); }

std::string className(const ax::Object& o) {
    const char* mangled = typeid(o).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : mangled;
    std::free(demangled);
    const size_t colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

const Member& require(const Handle& h, std::string_view name) {
    const Member* m = resolve(*h.object, name);
    if (!m) raiseAutomationError(ax::err::MemberNotFound, ax::errorText(ax::err::MemberNotFound));
    return *m;
}

// A property with parameters, or one that is only set: read by calling or indexing it, set by indexing.
struct IndexedProperty {
    Handle owner;
    Member member;
};

// A method, called with positional arguments.
struct Method {
    Handle owner;
    Member member;
};

// The UTF-8 of an attribute name, without a copy.
std::string_view viewOf(const py::str& s) {
    Py_ssize_t size = 0;
    const char* utf8 = PyUnicode_AsUTF8AndSize(s.ptr(), &size);
    if (!utf8) throw py::error_already_set();
    return std::string_view(utf8, size_t(size));
}

py::object getAttribute(const Handle& h, const py::str& attribute) {
    const std::string_view name = viewOf(attribute);
    if (isDunder(name)) throw py::attribute_error(std::string(name));
    const Member& m = require(h, name);
    const ax::MemberInfo& i = m.info;
    if (i.answers(InvokeKind::PropertyGet)) {
        if (i.params == 0 || (i.params > 0 && i.optional == i.params))
            return invoke(h, m, InvokeKind::PropertyGet, {});
        if (i.params > 0) return py::cast(IndexedProperty{h, m});
        // A member that counts its own arguments: read it without any, and if it wants some it is indexed.
        Arguments args;
        try {
            return toPython(call(h, m, InvokeKind::PropertyGet, args.list()), h.anchorForReads());
        } catch (const ax::AutomationError& e) {
            if (e.number() != ax::err::WrongArgumentCount) throw;
        }
        return py::cast(IndexedProperty{h, m});
    }
    if (i.answers(InvokeKind::Method)) return py::cast(Method{h, m});
    return py::cast(IndexedProperty{h, m});
}

// A reference goes through the set when the member has one, anything else through the let (each finds
// the other when the member has only one of them).
InvokeKind putKindFor(const Member& m, py::handle value) {
    return py::isinstance<Handle>(value) && m.info.answers(InvokeKind::PropertyPutRef)
               ? InvokeKind::PropertyPutRef
               : InvokeKind::PropertyPut;
}

void setAttribute(const Handle& h, const py::str& attribute, py::handle value) {
    const std::string_view name = viewOf(attribute);
    if (isDunder(name)) throw py::attribute_error(std::string(name));
    const Member& m = require(h, name);
    invoke(h, m, putKindFor(m, value), {}, value);
}

py::list memberNames(const Handle& h) {
    py::list names;
    ax::MemberInfo info;
    for (ax::DispId id = 1; h.object->DescribeMember(id, info); ++id)
        names.append(py::str(std::string(info.name)));
    return names;
}

const Member& defaultMember(const Handle& h) { return require(h, std::string_view()); }

// DOM lists (length and a default item from 0) iterate; nothing else guesses at its numbering.
py::object iterate(const Handle& h) {
    const Member* length = resolve(*h.object, "length");
    if (!length || !resolve(*h.object, std::string_view()))
        throw py::type_error("this object is not iterable");
    const auto n = invoke(h, *length, InvokeKind::PropertyGet, {}).cast<int32_t>();
    py::list items;
    for (int32_t i = 0; i < n; ++i)
        items.append(invoke(h, defaultMember(h), InvokeKind::PropertyGet, argsOf(py::int_(i))));
    return items.attr("__iter__")();
}

}  // namespace

CallScope::CallScope() { ++calls().depth; }

CallScope::~CallScope() {
    Calls& c = calls();
    if (--c.depth > 0) return;
    // Released here, after the components' code has returned; a destructor may call in again.
    while (!c.released.empty()) {
        auto pending = std::move(c.released);
        c.released.clear();
        ++c.depth;
        pending.clear();
        --c.depth;
    }
}

bool CallScope::active() { return calls().depth > 0; }

void release(std::shared_ptr<void> p) {
    if (p && CallScope::active()) calls().released.push_back(std::move(p));
}

const Member* resolve(const ax::Object& object, std::string_view name) {
    Names& names = resolved()[std::type_index(typeid(object))];
    auto it = names.find(name);
    if (it == names.end()) {
        Member m;
        m.id = object.GetIdOfName(name);
        if (m.id != ax::dispid::Unknown && !object.DescribeMember(m.id, m.info)) m.id = ax::dispid::Unknown;
        it = names.emplace(std::string(name), m).first;
    }
    return it->second.id == ax::dispid::Unknown ? nullptr : &it->second;
}

py::object invoke(const Handle& h, const Member& m, InvokeKind kind, const py::args& args, py::handle value) {
    Arguments lease;
    auto& a = lease.list();
    for (py::handle x : args) a.push_back(fromPython(x));
    if (value) a.push_back(fromPython(value));
    ax::Variant result = call(h, m, kind, a);
    // By-reference parameters come back into the Python arguments that can hold them; for a member
    // that does not declare its parameters, every such argument is taken as by reference.
    if (kind == InvokeKind::Method || kind == InvokeKind::PropertyGet) {
        for (size_t i = 0; i < args.size() && i < a.size(); ++i) {
            const bool byRef = m.info.params < 0 || (i < 32 && ((m.info.byRef >> i) & 1u));
            if (byRef) writeBack(args[i], a[i], h.anchorForReads());
        }
    }
    return toPython(result, h.anchorForReads());
}

void defineObjects(py::module_& m) {
    py::class_<Handle>(m, "Object", "A component object; its members are its attributes.")
        .def("__getattr__", &getAttribute)
        .def("__setattr__", &setAttribute)
        .def("__call__",
             [](const Handle& h, py::args args) {
                 return invoke(h, defaultMember(h), InvokeKind::PropertyGet, args);
             })
        .def("__getitem__",
             [](const Handle& h, py::handle key) {
                 return invoke(h, defaultMember(h), InvokeKind::PropertyGet, argsOf(key));
             })
        .def("__setitem__",
             [](const Handle& h, py::handle key, py::handle value) {
                 const Member& d = defaultMember(h);
                 invoke(h, d, putKindFor(d, value), argsOf(key), value);
             })
        .def("__iter__", &iterate)
        .def("__dir__", &memberNames)
        .def("__eq__",
             [](const Handle& a, py::handle b) -> py::object {
                 if (!py::isinstance<Handle>(b)) return py::reinterpret_borrow<py::object>(Py_NotImplemented);
                 return py::bool_(a.object == b.cast<const Handle&>().object);
             })
        .def("__hash__", [](const Handle& h) { return std::hash<const void*>{}(h.object.get()); })
        .def("__repr__", [](const Handle& h) { return "<vantrel.Object " + className(*h.object) + ">"; });

    py::class_<IndexedProperty>(
        m, "IndexedProperty",
        "A property with indexes: prop(i, j) or prop[i, j] reads it, prop[i, j] = v sets it.")
        .def("__call__",
             [](const IndexedProperty& p, py::args args) {
                 return invoke(p.owner, p.member, InvokeKind::PropertyGet, args);
             })
        .def("__getitem__",
             [](const IndexedProperty& p, py::handle key) {
                 return invoke(p.owner, p.member, InvokeKind::PropertyGet, argsOf(key));
             })
        .def("__setitem__",
             [](const IndexedProperty& p, py::handle key, py::handle value) {
                 invoke(p.owner, p.member, putKindFor(p.member, value), argsOf(key), value);
             })
        .def("__repr__", [](const IndexedProperty& p) {
            return "<vantrel.IndexedProperty " + std::string(p.member.info.name) + " of " +
                   className(*p.owner.object) + ">";
        });

    py::class_<Method>(m, "Method", "A method of a component object, called with positional arguments.")
        .def("__call__",
             [](const Method& f, py::args args, py::kwargs kwargs) {
                 if (kwargs && py::len(kwargs) > 0)
                     throw py::type_error("members take positional arguments only");
                 return invoke(f.owner, f.member, InvokeKind::Method, args);
             })
        .def("__repr__", [](const Method& f) {
            return "<vantrel.Method " + std::string(f.member.info.name) + " of " +
                   className(*f.owner.object) + ">";
        });
}

}  // namespace vpy
