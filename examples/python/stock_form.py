#!/usr/bin/env python3
"""A stock list on a form, scripted from Python: columns of several kinds, rows from a SQLite
database, a user typing into the cells (with a KeyPress handler that keeps names in capitals), a
transaction tried and rolled back, and the result written to an XML file and read back.

Run from a build: PYTHONPATH=build/python VN_LIB_DIR=build/lib python3 examples/python/stock_form.py
With --window (and a build with Qt) the form is then shown until its window is closed.
"""
import os
import sqlite3
import sys
import tempfile

import vantrel

TEXT, DROP_DOWN, NUMBER = 1, 4, 8


def click_cell(form, grid, row, col):
    grid.Row, grid.Col = row, col
    form.child(grid, "FlexGrid").click(grid.CellLeft + grid.CellWidth / 2, grid.CellTop + grid.CellHeight / 2)


def show(grid, title):
    print(title)
    for r in range(grid.Rows):
        print("   " + " | ".join(f"{grid.TextMatrix(r, c):<8}" for c in range(grid.Cols)))


def main():
    if os.environ.get("VN_LIB_DIR"):
        vantrel.use_build_registry()
    folder = tempfile.mkdtemp()
    db = os.path.join(folder, "stock.db")
    with sqlite3.connect(db) as c:
        c.execute("create table stock (name text, kind text, qty integer)")
        c.executemany("insert into stock values (?, ?, ?)", [("BOLT", "Metal", 40), ("PLUG", "Plastic", 7)])

    with vantrel.Form() as form:
        grid = form.create("Vantrel.Vantrel", 7200, 2400)
        # The columns' kinds first: the rows loaded then meet their rules.
        grid.Cols, grid.FixedCols = 3, 0
        for col, style in enumerate([TEXT, DROP_DOWN, NUMBER]):
            grid.Col = col
            grid.ColInputStyle = style
        grid.Col = 1
        for kind in ("Metal", "Plastic", "Rubber"):
            grid.ComboAddItem(0, kind)
        grid.Col = 2
        grid.ColZelPickerMin, grid.ColZelPickerMax = 0, 999
        grid.LoadRecordset(vantrel.open_recordset(db, "select * from stock order by name"))
        show(grid, "Loaded from SQLite:")
        assert grid.TextMatrix(2, 1) == "Plastic"

        def capitals(e):
            if grid.Col == 0 and ord("a") <= e.KeyAscii <= ord("z"):
                e.KeyAscii -= 32

        vantrel.connect(grid, KeyPress=capitals)
        grid.AddItem("")
        last = grid.Rows - 1
        click_cell(form, grid, last, 0)
        form.type_text("washer")
        form.type_key(vantrel.key.RETURN)
        click_cell(form, grid, last, 1)  # the list drops down; Down takes its first item
        form.type_key(vantrel.key.DOWN)
        click_cell(form, grid, last, 2)
        form.type_text("120")
        form.type_key(vantrel.key.RETURN)
        show(grid, "A row typed in by the user:")
        assert [grid.TextMatrix(last, c) for c in range(3)] == ["WASHER", "Metal", "120"]

        grid.BeginTrans()
        grid.RemoveItem(1)
        grid.RollBack()
        assert grid.TextMatrix(1, 0) == "BOLT"
        print("A removal inside a transaction, rolled back: row 1 is", grid.TextMatrix(1, 0))

        grid.CreateXMLDoc("stock", 0)
        grid.RowElementTagName = "item"
        for col in range(grid.Cols):
            grid.Col = col
            grid.ColAttributeName = grid.TextMatrix(0, col)
        grid.UpdateXMLRoot()
        grid.XMLFilePath = os.path.join(folder, "stock.xml")
        grid.SaveXMLDoc()
        copy = form.create("Vantrel.Vantrel")
        copy.XMLFilePath = grid.XMLFilePath
        copy.LoadXMLDoc()
        copy.LoadXMLRoot(True)
        show(copy, "Written to XML and read into a second grid:")
        assert copy.TextMatrix(3, 0) == "WASHER"

        if "--window" in sys.argv:
            window = vantrel.Form(window=True)
            shown = window.create("Vantrel.Vantrel", 7200, 2400)
            shown.XMLFilePath = grid.XMLFilePath
            shown.LoadXMLDoc()
            shown.LoadXMLRoot(True)
            window.run()


if __name__ == "__main__":
    main()
