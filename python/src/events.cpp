// Events as Python callbacks: a handler gets a vantrel.Event whose parameters it may change, and
// what it leaves reaches the control as a by-reference value would. A handler that raises is
// reported through sys.unraisablehook and changes nothing.
#include <algorithm>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/runtime/events.h"
#include "python/src/host.h"

namespace vpy {

namespace {

using ax::Variant;

// One raised event as a handler sees it.
struct Event {
    std::string name;
    const ax::EventDescription* description = nullptr;
    std::vector<py::object> values;

    size_t indexOf(std::string_view param) const {
        if (description)
            for (int i = 0; i < description->paramCount; ++i)
                if (ax::detail::NameEqual{}(description->params[size_t(i)], param)) return size_t(i);
        throw py::attribute_error("the " + name + " event has no parameter " + std::string(param));
    }
    size_t position(Py_ssize_t i) const {
        if (i < 0) i += Py_ssize_t(values.size());
        if (i < 0 || size_t(i) >= values.size()) throw py::index_error("event parameter index out of range");
        return size_t(i);
    }
};

// Reports the Python error that is set, as an exception nobody could catch.
void reportUnraisable(const std::string& context) { PyErr_WriteUnraisable(py::str(context).ptr()); }

// A value written by a handler, in the kind the control passed, so the control's own conversion back
// cannot fail after the handler has returned.
Variant asKindOf(const Variant& original, Variant v) {
    switch (original.type()) {
        case ax::VarType::Integer:
            return Variant(ax::cInt(v));
        case ax::VarType::Long:
            return Variant(ax::cLng(v));
        case ax::VarType::Single:
            return Variant(ax::cSng(v));
        case ax::VarType::Double:
            return Variant(ax::cDbl(v));
        case ax::VarType::Boolean:
            return Variant(ax::cBool(v));
        case ax::VarType::Date:
            return Variant(ax::cDate(v));
        case ax::VarType::String:
            return Variant(ax::cStr(v));
        case ax::VarType::Object:
            return v.isEmpty() ? Variant(std::shared_ptr<ax::Object>()) : Variant(v.object());
        default:
            return v;
    }
}

// Holds a reference for a while and lets go of it as release() does.
struct Kept {
    std::shared_ptr<void> held;
    ~Kept() { release(std::move(held)); }
};

class PythonSink : public ax::EventSink {
  public:
    PythonSink(std::weak_ptr<ax::Object> source, std::weak_ptr<void> anchor)
        : source_(std::move(source)), anchor_(std::move(anchor)) {}
    ~PythonSink() override {
        py::gil_scoped_acquire gil;
        handlers_.clear();
    }

    void add(int32_t dispid, std::string name, py::object handler) {
        handlers_.push_back({dispid, std::move(name), std::move(handler)});
    }
    bool empty() const { return handlers_.empty(); }
    void clear() { handlers_.clear(); }
    const std::weak_ptr<ax::Object>& source() const { return source_; }

    void OnEvent(int32_t dispid, std::string_view name, std::vector<Variant>& args) override {
        py::gil_scoped_acquire gil;
        py::object handler = find(dispid, name);
        if (!handler) return;
        // The control stays whole until its handlers are done, and longer: until the call from
        // Python that made it raise the event has returned.
        const auto object = source_.lock();
        const Kept keptObject{object}, keptAnchor{anchor_.lock()};
        const Anchor& anchor = keptAnchor.held;
        auto* connectable = dynamic_cast<ax::Connectable*>(object.get());
        py::object event = py::cast(
            Event{std::string(name), connectable ? connectable->events().find(dispid) : nullptr, {}});
        Event& e = event.cast<Event&>();
        std::vector<py::object> given;
        for (const Variant& a : args) given.push_back(toPython(a, anchor));
        e.values = given;
        try {
            handler(event);
        } catch (py::error_already_set& err) {
            err.restore();
            reportUnraisable("the " + std::string(name) + " handler");
            return;
        }
        // Every value the handler changed is converted first; one that does not convert drops them all.
        std::vector<Variant> out(args.size());
        try {
            for (size_t i = 0; i < args.size(); ++i)
                out[i] = e.values[i].is(given[i]) ? args[i] : asKindOf(args[i], fromPython(e.values[i]));
        } catch (const ax::AutomationError& err) {
            PyErr_SetObject(types().error.ptr(), py::make_tuple(err.number(), err.description()).ptr());
            reportUnraisable("a value the " + std::string(name) + " handler left");
            return;
        } catch (py::error_already_set& err) {
            err.restore();
            reportUnraisable("a value the " + std::string(name) + " handler left");
            return;
        }
        std::move(out.begin(), out.end(), args.begin());
    }

  private:
    struct Bound {
        int32_t dispid;  // -1 for a source that does not describe its events
        std::string name;
        py::object handler;
    };
    py::object find(int32_t dispid, std::string_view name) const {
        for (const auto& b : handlers_)
            if (b.dispid == dispid || (b.dispid < 0 && ax::detail::NameEqual{}(b.name, name)))
                return b.handler;
        return py::object();
    }

    std::weak_ptr<ax::Object> source_;
    std::weak_ptr<void> anchor_;
    std::vector<Bound> handlers_;
};

// Every Python sink, so a closing form can drop those of its controls.
std::vector<std::weak_ptr<PythonSink>>& sinks() {
    static auto* all = new std::vector<std::weak_ptr<PythonSink>>;
    return *all;
}

struct Connection {
    std::weak_ptr<PythonSink> sink;
    bool connected() const { return !sink.expired() && !sink.lock()->empty(); }
    void disconnect() {
        auto s = sink.lock();
        if (!s) return;
        if (auto source = s->source().lock())
            if (auto* c = dynamic_cast<ax::Connectable*>(source.get())) c->events().Unadvise(s);
        s->clear();
    }
};

Connection connect(const Handle& h, py::object handler, py::kwargs named) {
    auto* c = dynamic_cast<ax::Connectable*>(h.object.get());
    if (!c) throw py::type_error("this object raises no events");
    ax::EventSource& source = c->events();
    auto sink = std::make_shared<PythonSink>(h.object, h.anchorForReads());
    auto bind = [&](const std::string& name, py::object fn) {
        if (!PyCallable_Check(fn.ptr())) throw py::type_error("the handler for " + name + " is not callable");
        const ax::EventDescription* d = source.find(name);
        if (!d && !source.described().empty())
            throw py::value_error("this object raises no event named " + name);
        sink->add(d ? d->dispid : -1, d ? std::string(d->name) : name, std::move(fn));
    };
    if (!handler.is_none()) {
        // A handler object: its methods named On<Event>, as for the events the object describes.
        for (const auto& d : source.described()) {
            py::object fn = py::getattr(handler, py::str("On" + std::string(d.name)), py::none());
            if (!fn.is_none()) bind(std::string(d.name), fn);
        }
    }
    for (auto [key, fn] : named) bind(key.cast<std::string>(), py::reinterpret_borrow<py::object>(fn));
    if (sink->empty()) throw py::value_error("no handler given");
    source.Advise(sink);
    auto& all = sinks();
    std::erase_if(all, [](const auto& w) { return w.expired(); });
    all.push_back(sink);
    return Connection{sink};
}

}  // namespace

void disconnectAll(const ax::Object& source) {
    for (const auto& w : std::vector(sinks())) {
        auto s = w.lock();
        if (!s || s->source().lock().get() != &source) continue;
        Connection{s}.disconnect();
    }
}

void defineEvents(py::module_& m) {
    py::class_<Event>(
        m, "Event",
        "One raised event: its parameters by name (e.KeyAscii) or position (e[0]); values a handler "
        "sets reach the control.")
        .def_property_readonly("event", [](const Event& e) { return e.name; })
        .def("__getattr__", [](const Event& e, const std::string& n) { return e.values[e.indexOf(n)]; })
        .def("__setattr__",
             [](Event& e, const std::string& n, py::object v) { e.values[e.indexOf(n)] = std::move(v); })
        .def("__getitem__", [](const Event& e, Py_ssize_t i) { return e.values[e.position(i)]; })
        .def("__setitem__",
             [](Event& e, Py_ssize_t i, py::object v) { e.values[e.position(i)] = std::move(v); })
        .def("__len__", [](const Event& e) { return e.values.size(); })
        .def("__repr__", [](const Event& e) {
            std::string s = "<vantrel.Event " + e.name;
            for (size_t i = 0; i < e.values.size(); ++i) {
                s += i ? ", " : " ";
                if (e.description && int(i) < e.description->paramCount)
                    s += std::string(e.description->params[i]) + "=";
                s += py::repr(e.values[i]).cast<std::string>();
            }
            return s + ">";
        });

    py::class_<Connection>(m, "Connection",
                           "Handlers connected to an object's events; disconnect() drops them.")
        .def("disconnect", &Connection::disconnect)
        .def_property_readonly("connected", &Connection::connected)
        .def("__enter__", [](py::object self) { return self; })
        .def("__exit__", [](Connection& c, py::args) { c.disconnect(); });

    m.def("connect", &connect, py::arg("obj"), py::arg("handler") = py::none(),
          "Connects handlers to an object's events: connect(grid, KeyPress=f) or connect(grid, obj) with "
          "methods "
          "named OnKeyPress, ... Each handler is called with a vantrel.Event.");
}

}  // namespace vpy
