// vantrel.Form: the headless host (or, with Qt, a window) that controls are placed on, its simulated
// keys, clicks and focus, and the module's functions for the registry, recordsets and XML.
#include <pybind11/stl.h>

#include "platform/headless/headless_children.h"
#include "platform/host/control.h"
#include "platform/host/headless_host.h"
#include "platform/recordset/recordset.h"
#include "platform/runtime/registry.h"
#include "platform/xml/dom.h"
#include "platform/xml/xml_property_bag.h"
#include "python/src/host.h"

#ifdef VN_PY_QT
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "platform/qt/qt_host.h"
#endif

namespace vpy {

namespace {

// A form: the host and the controls placed on it. A Python reference to a control keeps its form.
struct FormCore {
#ifdef VN_PY_QT
    std::unique_ptr<ax::QtHost> window;
#endif
    std::unique_ptr<ax::HeadlessHost> headless;
    std::vector<std::shared_ptr<ax::Control>> controls;

    ax::HeadlessHost& host() {
#ifdef VN_PY_QT
        if (window) return window->host();
#endif
        return *headless;
    }
    bool hasWindow() const {
#ifdef VN_PY_QT
        return window != nullptr;
#else
        return false;
#endif
    }
};

struct Form {
    std::shared_ptr<FormCore> core;
    Form(const Form&) = default;
    explicit Form(std::shared_ptr<FormCore> c) : core(std::move(c)) {}
    ~Form() { release(std::move(core)); }
};

// A child control of a placed control (its inner grid, an editor): the target of clicks and focus.
struct ChildRef {
    ax::ChildPtr child;
    std::shared_ptr<FormCore> form;
    ChildRef(ax::ChildPtr c, std::shared_ptr<FormCore> f) : child(std::move(c)), form(std::move(f)) {}
    ChildRef(const ChildRef&) = default;
    ~ChildRef() {
        release(std::move(child));
        release(std::move(form));
    }
};

#ifdef VN_PY_QT
QApplication& application() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
    static int argc = 1;
    static char name[] = "vantrel";
    static char* argv[] = {name, nullptr};
    return *new QApplication(argc, argv);  // lives as long as the process, as Qt wants
}
#endif

Form makeForm(bool userMode, bool window) {
    auto core = std::make_shared<FormCore>();
    if (window) {
#ifdef VN_PY_QT
        application();
        core->window = std::make_unique<ax::QtHost>();
        core->window->setShowMessageBoxes(false);
#else
        throw std::runtime_error("this build of vantrel has no Qt: forms have no window");
#endif
    } else {
        core->headless = ax::makeHeadlessHost();
    }
    core->host().setUserMode(userMode);
    return Form(std::move(core));
}

ax::Control& controlOf(const Handle& h) {
    auto* c = dynamic_cast<ax::Control*>(h.object.get());
    if (!c) throw py::type_error("not a control");
    return *c;
}

py::object create(const Form& f, const std::string& progId, float width, float height, py::object saved) {
    CallScope scope;
    std::shared_ptr<ax::Object> object = ax::CreateObject(progId);
    auto control = std::dynamic_pointer_cast<ax::Control>(object);
    if (!control) return py::cast(Handle{object, nullptr});
    std::unique_ptr<ax::XmlPropertyBag> bag;
    if (!saved.is_none()) {
        bag = std::make_unique<ax::XmlPropertyBag>();
        bag->load(saved.cast<std::string>());
    }
#ifdef VN_PY_QT
    if (f.core->window)
        f.core->window->place(control, width, height, 0, 0, bag.get());
    else
#endif
        f.core->host().place(control, width, height, bag.get());
    f.core->controls.push_back(control);
    return py::cast(Handle{object, f.core});
}

py::object childOrNone(const Form& f, ax::Child* c) {
    if (!c) return py::none();
    // The host hands out the focused child by pointer; a child of a placed control is found among
    // its children, one inside a component (the grid's number editor) lives as long as the form.
    for (const auto& control : f.core->controls)
        for (const auto& child : f.core->host().children(*control))
            if (child.get() == c) return py::cast(ChildRef{child, f.core});
    return py::cast(ChildRef{ax::ChildPtr(f.core, c), f.core});
}

void close(const Form& f) {
    for (const auto& control : f.core->controls) disconnectAll(*control);
}

}  // namespace

void defineForms(py::module_& m) {
    py::class_<Form>(
        m, "Form",
        "A form to place controls on: a headless host, or with window=True a Qt window. Starts in "
        "user mode, as a running program.")
        .def(py::init(&makeForm), py::arg("user_mode") = true, py::arg("window") = false)
        .def("create", &create, py::arg("prog_id"), py::arg("width") = 4800.0f, py::arg("height") = 2400.0f,
             py::arg("saved") = py::none(),
             "Creates a component by its identifier; a control is placed on the form (with the settings of a "
             "form file saved by save(), when given).")
        .def_property(
            "user_mode", [](const Form& f) { return f.core->host().userMode(); },
            [](const Form& f, bool v) { f.core->host().setUserMode(v); })
        .def("save",
             [](const Form& f, const Handle& control, const std::string& path) {
                 CallScope scope;
                 ax::XmlPropertyBag bag;
                 f.core->host().save(controlOf(control), bag);
                 bag.save(path);
             })
        .def("resize",
             [](const Form& f, const Handle& c, float w, float h) {
                 CallScope s;
                 f.core->host().resize(controlOf(c), w, h);
             })
        .def("show",
             [](const Form& f, const Handle& c) {
                 CallScope s;
                 f.core->host().show(controlOf(c));
             })
        .def("hide",
             [](const Form& f, const Handle& c) {
                 CallScope s;
                 f.core->host().hide(controlOf(c));
             })
        // Keyboard input to the focused child.
        .def(
            "type_key",
            [](const Form& f, int16_t key, int16_t shift) {
                CallScope s;
                f.core->host().typeKey(key, shift);
            },
            py::arg("key_code"), py::arg("shift") = 0)
        .def("type_text",
             [](const Form& f, const std::string& text) {
                 CallScope s;
                 f.core->host().typeText(text);
             })
        .def(
            "key_down",
            [](const Form& f, int16_t key, int16_t shift) {
                CallScope s;
                return f.core->host().keyDown(key, shift);
            },
            py::arg("key_code"), py::arg("shift") = 0)
        .def("key_press",
             [](const Form& f, int16_t ascii) {
                 CallScope s;
                 return f.core->host().keyPress(ascii);
             })
        .def(
            "key_up",
            [](const Form& f, int16_t key, int16_t shift) {
                CallScope s;
                return f.core->host().keyUp(key, shift);
            },
            py::arg("key_code"), py::arg("shift") = 0)
        // Children and focus.
        .def("child",
             [](const Form& f, const Handle& c, const std::string& name) -> py::object {
                 auto child = f.core->host().child(controlOf(c), name);
                 return child ? py::cast(ChildRef{child, f.core}) : py::none();
             })
        .def("children",
             [](const Form& f, const Handle& c) {
                 py::list out;
                 for (auto& child : f.core->host().children(controlOf(c)))
                     out.append(ChildRef{child, f.core});
                 return out;
             })
        .def_property_readonly("focused",
                               [](const Form& f) { return childOrNone(f, f.core->host().focused()); })
        .def("clear_focus",
             [](const Form& f) {
                 CallScope s;
                 f.core->host().setFocus(nullptr);
             })
        // What controls told the host.
        .def("property_changes",
             [](const Form& f, const Handle& c) { return f.core->host().propertyChanges(controlOf(c)); })
        .def("clear_property_changes", [](const Form& f) { f.core->host().clearPropertyChanges(); })
        .def_property_readonly("message_boxes",
                               [](const Form& f) {
                                   py::list out;
                                   for (const auto& b : f.core->host().messageBoxes())
                                       out.append(py::make_tuple(b.prompt, b.buttons, b.title));
                                   return out;
                               })
        .def("clear_message_boxes", [](const Form& f) { f.core->host().clearMessageBoxes(); })
        .def(
            "answer_message_box",
            [](const Form& f, int result) { f.core->host().queueMessageBoxAnswer(result); },
            "The next message box answers this button result instead of its first button.")
        .def("close", &close, "Drops the Python event handlers of the form's controls.")
        .def("__enter__", [](py::object self) { return self; })
        .def("__exit__", [](const Form& f, py::args) { close(f); })
        // A window, when the form has one.
        .def_property_readonly("has_window", [](const Form& f) { return f.core->hasWindow(); })
#ifdef VN_PY_QT
        .def("show_window",
             [](const Form& f) {
                 if (!f.core->window) throw std::runtime_error("this form has no window");
                 f.core->window->form()->show();
             })
        .def("process_events",
             [](const Form&) {
                 CallScope s;
                 QApplication::processEvents();
             })
        .def(
            "run",
            [](const Form& f, py::object seconds) {
                if (!f.core->window) throw std::runtime_error("this form has no window");
                CallScope s;
                f.core->window->form()->show();
                if (!seconds.is_none())
                    QTimer::singleShot(int(seconds.cast<double>() * 1000), &application(),
                                       &QApplication::quit);
                return application().exec();
            },
            py::arg("seconds") = py::none(),
            "Shows the window and runs the event loop until it closes (or for seconds).")
#endif
        ;

    py::class_<ChildRef>(m, "Child",
                         "A child control of a placed control: the target of clicks and the focus.")
        .def_property_readonly("name", [](const ChildRef& c) { return c.child->Name(); })
        .def_property_readonly("visible", [](const ChildRef& c) { return c.child->Visible(); })
        .def_property_readonly("enabled", [](const ChildRef& c) { return c.child->Enabled(); })
        .def_property_readonly("has_focus", [](const ChildRef& c) { return c.child->hasFocus(); })
        .def_property_readonly("left", [](const ChildRef& c) { return c.child->Left(); })
        .def_property_readonly("top", [](const ChildRef& c) { return c.child->Top(); })
        .def_property_readonly("width", [](const ChildRef& c) { return c.child->Width(); })
        .def_property_readonly("height", [](const ChildRef& c) { return c.child->Height(); })
        .def("set_focus",
             [](const ChildRef& c) {
                 CallScope s;
                 c.child->SetFocus();
             })
        .def("click",
             [](const ChildRef& c, float x, float y) {
                 CallScope s;
                 c.form->host().click(*c.child, x, y);
             })
        .def("double_click",
             [](const ChildRef& c, float x, float y) {
                 CallScope s;
                 c.form->host().dblClick(*c.child, x, y);
             })
        .def("mouse_down",
             [](const ChildRef& c, int16_t button, int16_t shift, float x, float y) {
                 CallScope s;
                 c.form->host().mouseDown(*c.child, button, shift, x, y);
             })
        .def("mouse_move",
             [](const ChildRef& c, int16_t button, int16_t shift, float x, float y) {
                 CallScope s;
                 c.form->host().mouseMove(*c.child, button, shift, x, y);
             })
        .def("mouse_up",
             [](const ChildRef& c, int16_t button, int16_t shift, float x, float y) {
                 CallScope s;
                 c.form->host().mouseUp(*c.child, button, shift, x, y);
             })
        .def("__eq__", [](const ChildRef& a, const ChildRef& b) { return a.child == b.child; })
        .def("__hash__", [](const ChildRef& c) { return std::hash<const void*>{}(c.child.get()); })
        .def("__repr__", [](const ChildRef& c) { return "<vantrel.Child " + c.child->Name() + ">"; });

    m.def(
        "use_build_registry", [](std::string folder) { return ax::useBuildRegistry(std::move(folder)); },
        py::arg("lib_dir") = std::string(),
        "Registers the component libraries of a build folder (default: $VN_LIB_DIR) in a registry private "
        "to this process.");
    m.def("set_registry", &ax::setRegistryPath, "Uses the registry file at this path.");
    m.def(
        "register_libraries", [](const std::string& folder) { return ax::registerLibrariesIn(folder); },
        "Registers every component library of a folder in the registry in use.");
    m.def(
        "open_recordset",
        [](const std::string& db, const std::string& sql) {
            return Handle{ax::openSqliteRecordset(db, sql), nullptr};
        },
        "A read-only recordset over one query of a SQLite database.");
    m.def(
        "memory_recordset",
        [](const std::vector<std::string>& fields, const py::iterable& rows) {
            auto rs = std::make_shared<ax::MemoryRecordset>(fields);
            for (py::handle row : rows) {
                std::vector<ax::Variant> values;
                for (py::handle v : row) values.push_back(fromPython(v));
                rs->addRow(std::move(values));
            }
            rs->MoveFirst();
            return Handle{rs, nullptr};
        },
        py::arg("fields"), py::arg("rows") = py::list(), "A recordset over rows held in memory.");
    m.def(
        "xml_document",
        [] {
            return Handle{ax::xml::Document::create(), nullptr};
        },
        "A new, empty XML document.");
}

}  // namespace vpy
