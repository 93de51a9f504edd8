"""A grid driven end to end from Python, as a scripted test of a form would drive it."""
import sqlite3

import vantrel
from conftest import CHECK, DROP_DOWN, NUMBER, TEXT, click_cell

NAME, KIND, QTY, DONE = range(4)


def build(grid):
    grid.Cols, grid.Rows, grid.FixedCols = 4, 3, 0
    for col, (heading, style) in enumerate([("Name", TEXT), ("Kind", DROP_DOWN), ("Qty", NUMBER), ("Done", CHECK)]):
        grid.TextMatrix[0, col] = heading
        grid.Col = col
        grid.ColInputStyle = style
    grid.Col = KIND
    for item in ("Bolt", "Nut", "Washer"):
        grid.ComboAddItem(0, item)
    grid.Col = QTY
    grid.ColZelPickerMin, grid.ColZelPickerMax = 0, 500


def test_typing_into_each_kind_of_editor(form, grid):
    build(grid)
    click_cell(form, grid, 1, NAME)
    form.type_text("Washer")
    form.type_key(vantrel.key.RETURN)
    click_cell(form, grid, 1, KIND)
    form.type_key(vantrel.key.DOWN)
    click_cell(form, grid, 1, QTY)
    form.type_text("250")
    form.type_key(vantrel.key.RETURN)
    click_cell(form, grid, 1, DONE)
    form.type_key(vantrel.key.SPACE)
    form.type_key(vantrel.key.RETURN)
    assert [grid.TextMatrix(1, c) for c in range(4)] == ["Washer", "Bolt", "250", "1"]
    click_cell(form, grid, 2, QTY)
    form.type_text("900")  # above the column's maximum: the last key is refused
    form.type_key(vantrel.key.RETURN)
    assert grid.TextMatrix(2, QTY) == "90"
    assert form.property_changes(grid)  # the host heard of the changes


def test_key_press_handler_changes_the_key(form, grid):
    build(grid)
    heard = []

    def key_press(e):
        heard.append(chr(e.KeyAscii))
        if e.KeyAscii == ord("x"):
            e.KeyAscii = 0  # the editor drops the key and stays open
        elif e.keyascii == ord("a"):
            e[0] = ord("A")

    with vantrel.connect(grid, KeyPress=key_press):
        click_cell(form, grid, 1, NAME)
        form.type_text("xaxb")
        assert form.focused.name == "TxtBox" and form.focused.visible
        form.type_key(vantrel.key.RETURN)
    assert heard[:4] == ["x", "a", "x", "b"]
    assert grid.TextMatrix(1, NAME) == "Ab"
    click_cell(form, grid, 2, NAME)
    form.type_text("x")  # disconnected: the key goes through
    form.type_key(vantrel.key.RETURN)
    assert grid.TextMatrix(2, NAME) == "x"


def test_transaction_rolled_back(grid):
    build(grid)
    grid.TextMatrix[1, NAME] = "Kept"
    grid.BeginTrans()
    assert grid.IsInTransaction is True
    grid.TextMatrix[1, NAME] = "Draft"
    grid.AddItem("Extra")
    grid.RollBack()
    assert (grid.Rows, grid.TextMatrix(1, NAME), grid.IsInTransaction) == (3, "Kept", False)


def test_xml_round_trip(form, grid, tmp_path):
    build(grid)
    rows = [["Bolt", "Nut", "4", "1"], ["Pin", "Washer", "12", "0"]]
    grid.LoadArray(rows)
    grid.CreateXMLDoc("stock", 0)
    grid.RowElementTagName = "item"
    for col, attribute in enumerate(["name", "kind", "qty", "done"]):
        grid.Col = col
        grid.ColAttributeName = attribute
    assert grid.UpdateXMLRoot() is True
    grid.XMLFilePath = str(tmp_path / "stock.xml")
    assert grid.SaveXMLDoc() is True

    copy = form.create("Vantrel.Vantrel")
    copy.XMLFilePath = str(tmp_path / "stock.xml")
    copy.LoadXMLDoc()
    copy.LoadXMLRoot(True)
    assert copy.RootElementTagName == "stock"
    assert [copy.TextMatrix(0, c) for c in range(4)] == ["name", "kind", "qty", "done"]
    assert [[copy.TextMatrix(r, c) for c in range(4)] for r in (1, 2)] == rows
    doc = vantrel.xml_document()
    assert doc.load(str(tmp_path / "stock.xml")) is True
    assert doc.documentElement.childNodes(1).getAttribute("kind") == "Washer"


def test_recordset_from_sqlite(grid, tmp_path):
    db = tmp_path / "parts.db"
    with sqlite3.connect(db) as c:
        c.execute("create table parts (name text, qty integer, note text)")
        c.executemany("insert into parts values (?, ?, ?)", [("Bolt", 4, None), ("Nut", 12, "spare")])
    rs = vantrel.open_recordset(str(db), "select * from parts order by name")
    assert grid.LoadRecordset(rs) is True
    assert (grid.Rows, grid.Cols) == (3, 3)
    assert [grid.TextMatrix(0, c) for c in range(3)] == ["name", "qty", "note"]
    assert [grid.TextMatrix(r, c) for r in (1, 2) for c in range(3)] == ["Bolt", "4", "", "Nut", "12", "spare"]


def test_settings_saved_to_a_form_file(form, grid, tmp_path):
    grid.Cols, grid.Rows = 5, 7
    grid.BackColor = 0xC0FFEE
    form.user_mode = False  # design-time settings are saved by a form designer
    form.save(grid, str(tmp_path / "form.xml"))
    again = form.create("Vantrel.Vantrel", saved=str(tmp_path / "form.xml"))
    assert (again.Cols, again.Rows, again.BackColor) == (5, 7, 0xC0FFEE)


def test_spin_control_alone(form):
    spin = form.create("ZelCtrl.Zel", 1200, 300)
    spin.Min, spin.Max, spin.Value = 0, 50, 7
    changes = []
    vantrel.connect(spin, Change=lambda e: changes.append(spin.Value))
    form.child(spin, "Txt").click(30, 30)
    form.type_key(vantrel.key.HOME)
    form.type_key(vantrel.key.END, vantrel.shift.SHIFT)
    form.type_text("42")
    assert spin.Value == 42 and changes[-1] == 42
    spin.Value = 99  # outside the bounds: ignored
    assert spin.Value == 42
