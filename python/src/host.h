// The Python host: what the extension module's parts share. Python reaches every component object
// the way a scripting host does, by member ids resolved once per name, with automation values
// converted both ways and automation errors raised as vantrel.Error.
#pragma once
#include <pybind11/pybind11.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/object.h"
#include "platform/automation/variant.h"

namespace vpy {

namespace py = pybind11;

// What a Python reference keeps alive besides its object: the form a control is placed on, or the
// object another one was read from (a control's font, a document's nodes).
using Anchor = std::shared_ptr<void>;

// Entered by every call from Python that can reach a component. What Python lets go of while a call
// is running (a handler deleting the last reference to the control raising its event) is released
// when the outermost call has returned, never under the component's feet.
class CallScope {
  public:
    CallScope();
    ~CallScope();
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;
    static bool active();
};
// Releases p now, or when the outermost call has returned if one is running.
void release(std::shared_ptr<void> p);

// The content of a vantrel.Object: a component object and what it depends on.
struct Handle {
    std::shared_ptr<ax::Object> object;
    Anchor anchor;

    Handle(std::shared_ptr<ax::Object> o, Anchor a) : object(std::move(o)), anchor(std::move(a)) {}
    Handle(const Handle&) = default;
    Handle(Handle&&) = default;
    Handle& operator=(const Handle&) = default;
    Handle& operator=(Handle&&) = default;
    ~Handle() {
        release(std::move(object));
        release(std::move(anchor));
    }
    // What objects read from this one keep alive: its own anchor, else the object itself.
    Anchor anchorForReads() const { return anchor ? anchor : Anchor(object); }
};

// --- the Python classes of vantrel/__init__.py, handed over when the package loads ----------------
struct PythonTypes {
    py::object error, memberNotFound, array, null, ref;
};
PythonTypes& types();

// Raises the Python exception for an automation error (vantrel.Error; MemberNotFound for 438).
[[noreturn]] void raiseAutomationError(int32_t number, const std::string& description);

// --- values ------------------------------------------------------------------------------------
// Automation value -> Python: Empty and Null -> None, numbers, dates -> datetime, texts -> str,
// arrays -> vantrel.Array, objects -> vantrel.Object (Nothing -> None).
py::object toPython(const ax::Variant& v, const Anchor& anchor);
// Python -> automation value; anything without an automation form raises 13 (type mismatch).
ax::Variant fromPython(py::handle value);
// Writes a value a member left in a by-reference argument into the Python argument that asked for
// it: a vantrel.Ref, a vantrel.Array or a list; false for an argument that cannot hold it.
bool writeBack(py::handle target, const ax::Variant& value, const Anchor& anchor);

// --- calls -------------------------------------------------------------------------------------
// A member as its name resolved for one class of object.
struct Member {
    ax::DispId id = ax::dispid::Unknown;
    ax::MemberInfo info;
};
// The member a name resolves to for this object's class, resolved once; nullptr for an unknown name.
const Member* resolve(const ax::Object& object, std::string_view name);

// Calls a member by id with Python arguments (and the value of a let or set), writes by-reference
// arguments back and converts the result.
py::object invoke(const Handle& h, const Member& m, ax::InvokeKind kind, const py::args& args,
                  py::handle value = py::handle());

// The module's parts.
void defineObjects(py::module_& m);
void defineEvents(py::module_& m);
void defineForms(py::module_& m);

// Python handlers connected to an object are dropped (a form closing breaks the cycles handlers make).
void disconnectAll(const ax::Object& source);

}  // namespace vpy
