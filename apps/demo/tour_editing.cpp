// Step 3: editing a cell of each kind the way a user does, with clicks and keys.
#include "apps/demo/tour.h"

namespace demo {

namespace {

enum : int32_t { kName = 0, kKind = 1, kQty = 2, kDone = 3, kDue = 4 };

// Makes (row, col) current and clicks the middle of it, which opens the column's editor.
void clickCell(ax::HeadlessHost& host, ax::Control& grid, int32_t row, int32_t col) {
    goTo(host, grid, row, col);
    auto inner = host.child(grid, "FlexGrid");
    const float x = float(get(grid, "CellLeft").toLong() + get(grid, "CellWidth").toLong() / 2);
    const float y = float(get(grid, "CellTop").toLong() + get(grid, "CellHeight").toLong() / 2);
    host.click(inner, x, y);
}

}  // namespace

void editingTour(ax::HeadlessHost& host, ax::Control& grid) {
    say("\n3. Editing like a user\n");
    step("a text cell: click, type, Enter", [&] {
        say("  the user clicks (2, Name), types \"Washer\" and presses Enter:\n");
        clickCell(host, grid, 2, kName);
        host.typeText("Washer");
        host.typeKey(ax::key::Return);
        expect(text(grid, 2, kName) == "Washer", "the typed name is in the cell");
    });
    step("a drop-down list: click, then choose with the arrow key", [&] {
        say("  the user clicks (2, Kind), which drops the list down, and presses Down:\n");
        clickCell(host, grid, 2, kKind);
        host.typeKey(ax::key::Down);
        expect(text(grid, 2, kKind) == "Bolt", "the first item of the list is chosen");
    });
    step("a number cell: click, type, Enter", [&] {
        say("  the user clicks (2, Qty), types 250 and presses Enter:\n");
        clickCell(host, grid, 2, kQty);
        host.typeText("250");
        host.typeKey(ax::key::Return);
        expect(text(grid, 2, kQty) == "250", "the typed number is in the cell");
    });
    step("a check box: space ticks it", [&] {
        say("  the user clicks (2, Done) and presses the space bar, then Enter:\n");
        clickCell(host, grid, 2, kDone);
        host.typeKey(ax::key::Space);
        host.typeKey(ax::key::Return);
        expect(text(grid, 2, kDone) == "1", "the box is ticked");
    });
    step("Esc cancels an edit", [&] {
        say("  the user clicks (2, Name), types \"Spring\" and presses Esc:\n");
        clickCell(host, grid, 2, kName);
        host.typeText("Spring");
        host.typeKey(ax::key::Escape);
        expect(text(grid, 2, kName) == "Washer", "the cell keeps its text");
    });
    printGrid(grid);
}

}  // namespace demo
