"""Event handlers that misbehave, and Python references let go of in any order."""
import gc
import sys

import pytest

import vantrel
from conftest import click_cell


def catch_unraisable(monkeypatch):
    """What the host reports through sys.unraisablehook (set inside the test, after pytest's own)."""
    reported = []
    monkeypatch.setattr(sys, "unraisablehook", reported.append)
    return reported


def test_a_failing_handler_is_reported_and_changes_nothing(form, grid, monkeypatch):
    unraisable = catch_unraisable(monkeypatch)

    def key_press(e):
        e.KeyAscii = 0  # set, then the handler fails: the change is not used
        raise RuntimeError("handler bug")

    vantrel.connect(grid, KeyPress=key_press)
    click_cell(form, grid, 1, 1)
    form.type_text("ab")
    form.type_key(vantrel.key.RETURN)
    assert grid.TextMatrix(1, 1) == "ab"
    assert [type(u.exc_value) for u in unraisable] == [RuntimeError] * 3  # a, b and Enter
    assert unraisable[0].object == "the KeyPress handler"


def test_a_value_the_control_cannot_take_is_reported(form, grid, monkeypatch):
    unraisable = catch_unraisable(monkeypatch)

    def key_press(e):
        e.KeyAscii = "not a key"

    vantrel.connect(grid, KeyPress=key_press)
    click_cell(form, grid, 1, 1)
    form.type_text("z")
    form.type_key(vantrel.key.RETURN)
    assert grid.TextMatrix(1, 1) == "z"
    assert isinstance(unraisable[0].exc_value, vantrel.Error) and unraisable[0].exc_value.number == 13


def test_handler_objects_and_bad_connections(form, grid):
    class Handlers:
        def __init__(self):
            self.seen = []

        def OnEnterCell(self, e):
            self.seen.append(("EnterCell", len(e)))

        def OnKeyDown(self, e):
            self.seen.append((e.event, e.KeyCode, e.Shift))

    h = Handlers()
    connection = vantrel.connect(grid, h)
    grid.Cols = 3
    grid.Row, grid.Col = 1, 1
    form.child(grid, "FlexGrid").set_focus()
    form.type_key(vantrel.key.RIGHT)
    assert ("EnterCell", 0) in h.seen and ("KeyDown", vantrel.key.RIGHT, 0) in h.seen
    connection.disconnect()
    assert not connection.connected
    with pytest.raises(ValueError):
        vantrel.connect(grid, KeyPres=print)  # the grid raises no such event
    with pytest.raises(TypeError):
        vantrel.connect(grid, KeyPress=42)
    with pytest.raises(TypeError):
        vantrel.connect(vantrel.xml_document(), Click=print)  # raises no events at all
    with pytest.raises(vantrel.Error) as elsewhere:
        vantrel.Form().child(grid, "FlexGrid")  # a control placed on another form
    assert elsewhere.value.number == 5


def test_references_released_in_any_order():
    form = vantrel.Form()
    grid = form.create("Vantrel.Vantrel")
    inner = form.child(grid, "FlexGrid")
    font = grid.Font
    del form  # the grid and its children keep their form
    grid.Rows = 5
    inner.set_focus()
    del grid
    gc.collect()
    assert font.Size > 0
    inner.click(10, 10)
    del inner


def test_grid_released_inside_its_own_event():
    holder = {"form": vantrel.Form()}
    holder["grid"] = holder["form"].create("Vantrel.Vantrel")
    inner = holder["form"].child(holder["grid"], "FlexGrid")

    def drop_everything(e):
        holder.clear()  # the last references to the form and the grid go while it raises
        gc.collect()

    vantrel.connect(holder["grid"], Click=drop_everything)
    inner.click(100, 100)
    assert holder == {}
    del inner
    gc.collect()
    spin = vantrel.Form().create("ZelCtrl.Zel")

    def release_self(e):
        nonlocal spin
        spin = None

    vantrel.connect(spin, Change=release_self)
    spin.Value = 5
    assert spin is None
