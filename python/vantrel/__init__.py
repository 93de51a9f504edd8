"""Vantrel and Zel for Python: the components as a late-bound host reaches them.

    import vantrel
    form = vantrel.Form()
    grid = form.create("Vantrel.Vantrel")
    grid.Rows = 10
    grid.TextMatrix[1, 2] = "x"
    print(grid.TextMatrix(1, 2))

Members are found by name (without regard to case) and called by the id the name resolved to. The
automation values map to Python ones: Empty and Null read as None, numbers as int and float, dates
as datetime, texts as str, arrays as Array, objects as Object. See docs/python.md.
"""
import itertools as _itertools

from . import _vantrel
from ._vantrel import (Child, Connection, Event, Form, IndexedProperty, Method, Object, connect, memory_recordset,
                       open_recordset, register_libraries, set_registry, use_build_registry, xml_document)

__all__ = ["Array", "Child", "Connection", "Error", "Event", "Form", "IndexedProperty", "Method", "MemberNotFound",
           "Null", "Object", "Ref", "connect", "create", "memory_recordset", "open_recordset", "register_libraries",
           "set_registry", "use_build_registry", "xml_document", "key", "shift"]

_form = None


def create(prog_id, width=4800, height=2400):
    """Creates a component by its identifier, a control on a form of the module's own."""
    global _form
    if _form is None:
        _form = Form()
    return _form.create(prog_id, width, height)



class Error(Exception):
    """An automation error: its number and description, as a scripting host reports them."""

    def __init__(self, number, description=""):
        super().__init__(number, description)
        self.number = number
        self.description = description

    def __str__(self):
        return f"{self.number}: {self.description}"


class MemberNotFound(Error, AttributeError):
    """Error 438 for a name the object does not answer; also an AttributeError, so hasattr works."""


class _NullType:
    """The automation Null (a database's missing value). Null read from a component is None."""
    _instance = None

    def __new__(cls):
        if cls._instance is None:
            cls._instance = super().__new__(cls)
        return cls._instance

    def __repr__(self):
        return "vantrel.Null"

    def __bool__(self):
        return False


Null = _NullType()


class Ref:
    """A by-reference argument: a member that writes its parameter leaves the new value in .value."""

    def __init__(self, value=None):
        self.value = value

    def __repr__(self):
        return f"vantrel.Ref({self.value!r})"


class Array:
    """An automation array: any number of dimensions, each with its own lower bound.

    Array() is an array that was never dimensioned; Array([[1, 2], [3, 4]]) a 2 x 2 array from
    0; Array(rows, lower=(1, 1)) the same from 1. Elements are read and written with their real
    subscripts, a[1, 1]; tolist() gives the nested lists.
    """

    def __init__(self, data=None, lower=None):
        self._vartype = 12  # an array of variants unless a component said otherwise
        if data is None:
            self._bounds, self._data = [], []
            return
        counts = _shape_of(data)
        if not counts:
            raise TypeError("an Array is made from nested lists")
        lower = tuple(lower) if lower is not None else (0,) * len(counts)
        if len(lower) != len(counts):
            raise ValueError(f"{len(counts)} dimensions but {len(lower)} lower bounds")
        self._bounds = [(int(lo), n) for lo, n in zip(lower, counts)]
        # Stored as automation stores it: the first subscript varies fastest.
        self._data = [None] * _product(counts)
        for index in _itertools.product(*(range(n) for n in counts)):
            value = data
            for i in index:
                value = value[i]
            self._data[self._offset_of(index)] = value

    @classmethod
    def dimensioned(cls, *bounds):
        """An array of Empty elements: Array.dimensioned((1, 3), (0, 1)) is (1 To 3, 0 To 1)."""
        a = cls()
        a._bounds = [(int(lo), int(hi) - int(lo) + 1) for lo, hi in bounds]
        if any(n < 0 for _, n in a._bounds):
            raise ValueError("an upper bound below its lower bound")
        a._data = [None] * _product(n for _, n in a._bounds)
        return a

    @property
    def dims(self):
        return len(self._bounds)

    def lbound(self, dim=1):
        return self._bounds[self._dim(dim)][0]

    def ubound(self, dim=1):
        lo, n = self._bounds[self._dim(dim)]
        return lo + n - 1

    @property
    def shape(self):
        return tuple(n for _, n in self._bounds)

    def tolist(self):
        """The elements as nested lists, the first subscript outermost."""
        counts = self.shape
        if not counts:
            return []

        def build(prefix):
            if len(prefix) == len(counts):
                return self._data[self._offset_of(prefix)]
            return [build(prefix + (i,)) for i in range(counts[len(prefix)])]

        return build(())

    def __getitem__(self, subscripts):
        return self._data[self._offset(subscripts)]

    def __setitem__(self, subscripts, value):
        self._data[self._offset(subscripts)] = value

    def __len__(self):
        return self._bounds[0][1] if self._bounds else 0

    def __iter__(self):
        """Along the first dimension: elements, or for more dimensions the nested lists."""
        return iter(self.tolist())

    def __eq__(self, other):
        if isinstance(other, Array):
            return self._bounds == other._bounds and self._data == other._data
        return NotImplemented

    def __repr__(self):
        if not self._bounds:
            return "vantrel.Array()"
        lower = tuple(lo for lo, _ in self._bounds)
        return f"vantrel.Array({self.tolist()!r}, lower={lower!r})"

    def _assign(self, other):
        self._bounds, self._data, self._vartype = list(other._bounds), list(other._data), other._vartype

    def _dim(self, dim):
        if not 1 <= dim <= len(self._bounds):
            raise Error(9, "Subscript out of range")
        return dim - 1

    def _offset_of(self, index):
        offset, stride = 0, 1
        for i, (_, n) in zip(index, self._bounds):
            offset += i * stride
            stride *= n
        return offset

    def _offset(self, subscripts):
        if not isinstance(subscripts, tuple):
            subscripts = (subscripts,)
        if len(subscripts) != len(self._bounds):
            raise Error(9, "Subscript out of range")
        index = []
        for s, (lo, n) in zip(subscripts, self._bounds):
            if not lo <= s < lo + n:
                raise Error(9, "Subscript out of range")
            index.append(s - lo)
        return self._offset_of(index)


def _product(values):
    p = 1
    for v in values:
        p *= v
    return p


def _shape_of(data):
    """The counts of a rectangular nested list; a ragged one is refused."""
    counts = []
    level = [data]
    while level and all(isinstance(x, (list, tuple)) for x in level):
        n = len(level[0])
        if any(len(x) != n for x in level):
            raise ValueError("the nested lists are not rectangular")
        counts.append(n)
        level = [y for x in level for y in x]
        if n == 0:
            break
    return counts


class key:
    """Key codes of the keys scripted input uses (the desktop's virtual-key numbers)."""
    BACK, TAB, RETURN, ESCAPE, SPACE = 8, 9, 13, 27, 32
    PAGE_UP, PAGE_DOWN, END, HOME = 33, 34, 35, 36
    LEFT, UP, RIGHT, DOWN, DELETE = 37, 38, 39, 40, 46
    F2, F4 = 113, 115


class shift:
    """Shift states of key and mouse input."""
    SHIFT, CTRL, ALT = 1, 2, 4


_vantrel._bind(Error, MemberNotFound, Array, Null, Ref)
