"""Members as attributes, values both ways, and the errors a late-bound host gets."""
import datetime

import pytest

import vantrel
from conftest import DATE, NUMBER


def test_properties_indexed_properties_and_methods(grid):
    grid.Rows, grid.cols = 4, 3  # names are found whatever their case
    assert (grid.Rows, grid.COLS) == (4, 3)
    grid.TextMatrix[1, 2] = "x"
    assert grid.TextMatrix(1, 2) == "x" == grid.TextMatrix[1, 2]
    grid.AddItem("a\tb\tc")
    grid.AddItem("front", 1)  # an optional argument given
    assert grid.Rows == 6 and grid.TextMatrix(1, 0) == "front" and grid.TextMatrix(5, 2) == "c"
    assert isinstance(grid.AddItem, vantrel.Method)
    assert isinstance(grid.TextMatrix, vantrel.IndexedProperty)
    assert {"Rows", "TextMatrix", "AddItem", "LoadArray"} <= set(dir(grid))
    assert repr(grid) == "<vantrel.Object Vantrel>"


def test_errors_carry_automation_numbers(grid):
    with pytest.raises(vantrel.MemberNotFound) as missing:
        grid.Rowz
    assert missing.value.number == 438 and isinstance(missing.value, AttributeError)
    assert not hasattr(grid, "NoSuchMember") and hasattr(grid, "rows")
    with pytest.raises(vantrel.Error) as count:
        grid.TextMatrix(1)
    assert count.value.number == 450
    with pytest.raises(vantrel.Error) as kind:
        grid.Rows = "many"
    assert kind.value.number == 13
    with pytest.raises(vantrel.Error) as python_value:
        grid.Rows = object()  # nothing an automation value can hold
    assert python_value.value.number == 13
    with pytest.raises(vantrel.Error) as read_only:
        grid.RootElementTagName = "x"  # a get without a let
    assert read_only.value.number == 438
    with pytest.raises(TypeError):
        grid.AddItem(Item="x")
    assert grid.Rows == 2  # nothing above changed the grid


def test_values_both_ways(grid):
    grid.Cols = 3
    grid.Col = 1
    grid.ColInputStyle = DATE
    grid.TextMatrix[1, 1] = "3/15/2026"
    grid.DTPickMaxDate = datetime.datetime(2030, 6, 1, 12, 30, 15)
    assert grid.DTPickMaxDate == datetime.datetime(2030, 6, 1, 12, 30, 15)
    grid.DTPickMinDate = datetime.date(1990, 1, 2)
    assert grid.DTPickMinDate == datetime.datetime(1990, 1, 2)
    grid.Col = 2
    grid.ColInputStyle = NUMBER
    grid.ColZelPickerMax = 10 ** 3  # an int becomes the member's 16-bit Integer
    with pytest.raises(vantrel.Error) as overflow:
        grid.ColZelPickerMax = 10 ** 6
    assert overflow.value.number == 6
    assert grid.WordWrap is False and isinstance(grid.RowHeightMin, int)
    grid.TextMatrix[1, 0] = "na\u00efve \u2713 \U0001F600"  # UTF-8 both ways
    assert grid.TextMatrix(1, 0) == "na\u00efve \u2713 \U0001F600"
    font = grid.Font  # an object as a wrapped reference
    assert isinstance(font, vantrel.Object) and font.Size > 0
    font.Bold = True
    assert grid.Font.Bold is True


def test_arrays_keep_their_bounds_and_come_back_by_reference(grid):
    rows = vantrel.Array([["a", "b"], ["c", "d"], ["e", "f"]], lower=(1, 5))
    assert grid.LoadArray(rows) is True
    assert (grid.Rows, grid.Cols) == (4, 2) and grid.TextMatrix(3, 1) == "f"
    saved = vantrel.Array()
    assert grid.SaveToArray(saved) is True
    assert (saved.lbound(1), saved.ubound(1), saved.lbound(2), saved.ubound(2)) == (0, 2, 0, 1)
    assert saved[2, 1] == "f" and saved.tolist() == [["a", "b"], ["c", "d"], ["e", "f"]]
    headings = vantrel.Ref()
    assert grid.SaveHeadingToArray(headings) is True
    assert isinstance(headings.value, vantrel.Array) and headings.value.shape == (2,)
    as_list = []
    grid.SaveToArray(as_list)
    assert as_list == [["a", "b"], ["c", "d"], ["e", "f"]]
    assert grid.LoadArray([["x", 1], ["y", 2.5]]) is True  # nested lists from 0; numbers as their text
    assert grid.TextMatrix(2, 1) == "2.5"
    assert grid.LoadArray(["one", "dimension"]) is False
    with pytest.raises(vantrel.Error) as ragged:
        grid.LoadArray([["a", "b"], ["c"]])
    assert ragged.value.number == 13 and grid.TextMatrix(2, 1) == "2.5"


def test_dom_and_recordsets_from_python(tmp_path):
    doc = vantrel.xml_document()
    assert doc.loadXML("<rows><row id='1'>a</row><row id='2'>b</row></rows>") is True
    rows = doc.documentElement.childNodes
    assert [r.getAttribute("id") for r in rows] == ["1", "2"]  # a DOM list iterates
    assert rows(1).text == "b" and rows[0].text == "a"  # its default member is item
    assert doc.documentElement.getAttribute("missing") is None  # Null reads as None
    with pytest.raises(vantrel.Error) as null:
        doc.documentElement.setAttribute("when", vantrel.Null)  # Null reaches the member as Null
    assert null.value.number == 94
    rs = vantrel.memory_recordset(["name", "qty"], [["bolt", 4], ["nut", None]])
    assert rs.Fields.Count == 2 and rs.Fields("name").Value == "bolt" and rs("qty").Value == 4
    rs.MoveNext()
    assert rs.Fields(1).Value is None and rs.EOF is False
    rs.MoveNext()
    with pytest.raises(vantrel.Error) as no_record:
        rs.MoveNext()
    assert no_record.value.number == 3021
