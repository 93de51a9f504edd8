"""Every test runs against the build's component libraries, registered in a registry of this process."""
import os
import pathlib

import pytest

import vantrel

SOURCE_DIR = pathlib.Path(os.environ.get("VN_SOURCE_DIR", pathlib.Path(__file__).parents[2])).resolve()

vantrel.use_build_registry()

TEXT, DROP_DOWN, DATE, CHECK, NUMBER = 1, 4, 6, 7, 8


@pytest.fixture
def form():
    with vantrel.Form() as f:
        yield f


@pytest.fixture
def grid(form):
    return form.create("Vantrel.Vantrel", 7200, 2400)


def click_cell(form, grid, row, col):
    """Makes (row, col) current and clicks its middle, as a user opening its editor."""
    grid.Row, grid.Col = row, col
    inner = form.child(grid, "FlexGrid")
    inner.click(grid.CellLeft + grid.CellWidth / 2, grid.CellTop + grid.CellHeight / 2)
