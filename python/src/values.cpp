// Automation values <-> Python values.
#include <Python.h>
#include <datetime.h>

#include <cmath>
#include <limits>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "python/src/host.h"

namespace vpy {

namespace {

constexpr double kSecondsPerDay = 86400.0;

void needDateTimeApi() {
    if (!PyDateTimeAPI) PyDateTime_IMPORT;
    if (!PyDateTimeAPI) throw py::error_already_set();
}

// Texts are UTF-8; bytes that are not are carried through as lone surrogates and back, so no text
// a component holds is refused or changed on its way through Python.
py::object textToPython(const std::string& s) {
    PyObject* o = PyUnicode_DecodeUTF8(s.data(), Py_ssize_t(s.size()), "surrogateescape");
    if (!o) throw py::error_already_set();
    return py::reinterpret_steal<py::object>(o);
}

std::string textFromPython(PyObject* o) {
    Py_ssize_t size = 0;
    if (const char* utf8 = PyUnicode_AsUTF8AndSize(o, &size)) return std::string(utf8, size_t(size));
    PyErr_Clear();
    auto bytes = py::reinterpret_steal<py::object>(PyUnicode_AsEncodedString(o, "utf-8", "surrogateescape"));
    if (!bytes) throw py::error_already_set();
    return std::string(PyBytes_AS_STRING(bytes.ptr()), size_t(PyBytes_GET_SIZE(bytes.ptr())));
}

py::object dateToPython(ax::Date d) {
    needDateTimeApi();
    const ax::CivilDateTime c = ax::toCivil(d);
    PyObject* o = PyDateTime_FromDateAndTime(c.year, c.month, c.day, c.hour, c.minute, c.second, 0);
    if (!o) throw py::error_already_set();
    return py::reinterpret_steal<py::object>(o);
}

// Dates go to the second, as automation dates are read and written.
ax::Date dateFromPython(PyObject* o) {
    ax::CivilDateTime c;
    if (PyDateTime_Check(o)) {
        c = {PyDateTime_GET_YEAR(o),      PyDateTime_GET_MONTH(o),       PyDateTime_GET_DAY(o),
             PyDateTime_DATE_GET_HOUR(o), PyDateTime_DATE_GET_MINUTE(o), PyDateTime_DATE_GET_SECOND(o)};
    } else if (PyDate_Check(o)) {
        c = {PyDateTime_GET_YEAR(o), PyDateTime_GET_MONTH(o), PyDateTime_GET_DAY(o), 0, 0, 0};
    } else {  // a time of day: the date part is zero
        return ax::Date{(PyDateTime_TIME_GET_HOUR(o) * 3600 + PyDateTime_TIME_GET_MINUTE(o) * 60 +
                         PyDateTime_TIME_GET_SECOND(o)) /
                        kSecondsPerDay};
    }
    return ax::toAutomationDate(c);
}

ax::Variant integerFromPython(PyObject* o) {
    int overflow = 0;
    const long long x = PyLong_AsLongLongAndOverflow(o, &overflow);
    if (x == -1 && PyErr_Occurred()) throw py::error_already_set();
    if (!overflow && x >= std::numeric_limits<int32_t>::min() && x <= std::numeric_limits<int32_t>::max())
        return ax::Variant(int32_t(x));
    // A whole number beyond Long is a Double, as a script's literal would be.
    const double d = PyLong_AsDouble(o);
    if (d == -1.0 && PyErr_Occurred()) {
        PyErr_Clear();
        ax::raise(ax::err::Overflow);
    }
    return ax::Variant(d);
}

// --- arrays ---------------------------------------------------------------------------------------

py::object arrayToPython(const ax::SafeArray& a, const Anchor& anchor) {
    py::object result = types().array();
    py::list bounds;
    for (int d = 1; d <= a.dims(); ++d)
        bounds.append(py::make_tuple(a.lbound(d), a.ubound(d) - a.lbound(d) + 1));
    py::list data(a.size());
    for (size_t i = 0; i < a.size(); ++i) data[i] = toPython(a.data()[i], anchor);
    result.attr("_bounds") = bounds;
    result.attr("_data") = data;
    result.attr("_vartype") = int(a.elementType());
    return result;
}

ax::Variant arrayFromVantrelArray(py::handle array) {
    std::vector<ax::SafeArray::Bound> bounds;
    for (py::handle b : array.attr("_bounds")) {
        auto t = b.cast<py::tuple>();
        bounds.push_back({t[0].cast<int32_t>(), t[1].cast<int32_t>()});
    }
    const auto type = ax::VarType(array.attr("_vartype").cast<int>());
    auto result = std::make_shared<ax::SafeArray>(type);
    if (!bounds.empty()) result->redim(bounds);
    py::list data = array.attr("_data");
    if (size_t(py::len(data)) != result->size()) ax::raise(ax::err::SubscriptOutOfRange);
    for (size_t i = 0; i < result->size(); ++i) {
        ax::Variant v = fromPython(data[i]);
        // An array of texts holds texts, whatever Python put into it.
        result->data()[i] = type == ax::VarType::String && !v.isString() && !v.isEmpty()
                                ? ax::Variant(ax::cStr(v))
                                : std::move(v);
    }
    return ax::Variant(result);
}

// A list or tuple: rectangular nesting makes dimensions, counted from 0. Ragged nesting has no array
// form, as any other value without one.
ax::Variant arrayFromSequence(py::handle seq) {
    py::object array;
    try {
        array = types().array(seq);
    } catch (py::error_already_set& e) {
        if (!e.matches(PyExc_ValueError) && !e.matches(PyExc_TypeError)) throw;
        ax::raise(ax::err::TypeMismatch);
    }
    return arrayFromVantrelArray(array);
}

}  // namespace

py::object toPython(const ax::Variant& v, const Anchor& anchor) {
    switch (v.type()) {
        case ax::VarType::Empty:
        case ax::VarType::Null:
            return py::none();
        case ax::VarType::Integer:
            return py::int_(*v.get<int16_t>());
        case ax::VarType::Long:
            return py::int_(*v.get<int32_t>());
        case ax::VarType::Single:
            return py::float_(*v.get<float>());
        case ax::VarType::Double:
            return py::float_(*v.get<double>());
        case ax::VarType::Boolean:
            return py::bool_(*v.get<bool>());
        case ax::VarType::Date:
            return dateToPython(*v.get<ax::Date>());
        case ax::VarType::String:
            return textToPython(*v.get<std::string>());
        case ax::VarType::Object: {
            const auto& o = *v.get<std::shared_ptr<ax::Object>>();
            if (!o) return py::none();
            return py::cast(Handle{o, anchor});
        }
        default:
            break;
    }
    if (v.isArray()) {
        const auto& a = *v.get<std::shared_ptr<ax::SafeArray>>();
        return a ? arrayToPython(*a, anchor) : py::object(types().array()());
    }
    return py::none();
}

ax::Variant fromPython(py::handle value) {
    PyObject* o = value.ptr();
    if (o == Py_None) return {};
    if (value.is(types().null)) return ax::Variant(ax::Null{});
    if (PyBool_Check(o)) return ax::Variant(o == Py_True);
    if (PyLong_Check(o)) return integerFromPython(o);
    if (PyFloat_Check(o)) return ax::Variant(PyFloat_AS_DOUBLE(o));
    if (PyUnicode_Check(o)) return ax::Variant(textFromPython(o));
    if (py::isinstance<Handle>(value)) return ax::Variant(value.cast<const Handle&>().object);
    needDateTimeApi();
    if (PyDate_Check(o) || PyTime_Check(o)) return ax::Variant(dateFromPython(o));
    if (py::isinstance(value, types().array)) return arrayFromVantrelArray(value);
    if (py::isinstance(value, types().ref)) return fromPython(value.attr("value"));
    if (PyList_Check(o) || PyTuple_Check(o)) return arrayFromSequence(value);
    if (PyIndex_Check(o)) {  // integers of other libraries (numpy)
        auto index = py::reinterpret_steal<py::object>(PyNumber_Index(o));
        if (!index) throw py::error_already_set();
        return integerFromPython(index.ptr());
    }
    ax::raise(ax::err::TypeMismatch);
}

bool writeBack(py::handle target, const ax::Variant& value, const Anchor& anchor) {
    if (py::isinstance(target, types().ref)) {
        target.attr("value") = toPython(value, anchor);
        return true;
    }
    if (py::isinstance(target, types().array) && value.isArray()) {
        target.attr("_assign")(toPython(value, anchor));
        return true;
    }
    if (PyList_Check(target.ptr())) {
        py::object v = toPython(value, anchor);
        if (py::isinstance(v, types().array)) v = v.attr("tolist")();
        if (!PyList_Check(v.ptr())) return false;
        target.attr("__setitem__")(py::slice(py::none(), py::none(), py::none()), v);
        return true;
    }
    return false;
}

}  // namespace vpy
