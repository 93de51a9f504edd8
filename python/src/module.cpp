// The extension module vantrel._vantrel; the package vantrel/__init__.py completes it.
#include "platform/automation/errors.h"
#include "python/src/host.h"

namespace vpy {

PythonTypes& types() {
    static auto* t = new PythonTypes;  // Python objects: never destroyed after the interpreter
    return *t;
}

void raiseAutomationError(int32_t number, const std::string& description) {
    throw ax::AutomationError(number, description);
}

namespace {

void setPythonError(const ax::AutomationError& e) {
    const PythonTypes& t = types();
    py::handle type = e.number() == ax::err::MemberNotFound ? t.memberNotFound : t.error;
    if (!type) {
        PyErr_SetString(PyExc_RuntimeError, e.what());
        return;
    }
    PyErr_SetObject(type.ptr(), py::make_tuple(e.number(), e.description()).ptr());
}

}  // namespace

}  // namespace vpy

PYBIND11_MODULE(_vantrel, m) {
    using namespace vpy;
    m.doc() = "Vantrel and Zel components reached as a late-bound host reaches them.";
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p) std::rethrow_exception(p);
        } catch (const ax::AutomationError& e) {
            setPythonError(e);
        }
    });
    m.def("_bind",
          [](py::object error, py::object memberNotFound, py::object array, py::object null, py::object ref) {
              types() = PythonTypes{error, memberNotFound, array, null, ref};
          });
    defineObjects(m);
    defineEvents(m);
    defineForms(m);
}
