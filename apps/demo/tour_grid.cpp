// Step 2: the grid's shape, its column kinds and the rules a host's texts meet.
#include "apps/demo/tour.h"

namespace demo {

namespace {

using ax::Variant;

void useColumn(ax::Control& grid, int32_t col, int32_t inputStyle) {
    let(grid, "Col", Variant(col));
    let(grid, "ColInputStyle", Variant(inputStyle));
}

// Sets a cell's text as a host does and says whether the column's rule kept it.
void tryText(ax::Control& grid, int32_t row, int32_t col, const std::string& value, bool accepted) {
    const std::string before = text(grid, row, col);
    setText(grid, row, col, value);
    const std::string after = text(grid, row, col);
    say("  (%d, %d) <- \"%s\": cell reads \"%s\"%s\n", row, col, value.c_str(), after.c_str(),
        after == before && after != value ? "  (refused, unchanged)" : "");
    if (accepted)
        expect(after != before || after == value,
               "\"" + value + "\" is taken in column " + std::to_string(col));
    else
        expect(after == before, "\"" + value + "\" is refused in column " + std::to_string(col));
}

}  // namespace

// Column kinds of the tour's grid.
enum : int32_t { kName = 0, kKind = 1, kQty = 2, kDone = 3, kDue = 4 };
enum : int32_t { kTextBox = 1, kDropDown = 4, kDate = 6, kCheck = 7, kNumber = 8 };

std::shared_ptr<ax::Control> gridShapeTour(ax::HeadlessHost& host) {
    say("\n2. The grid control Vantrel.Vantrel: shape, column kinds and text rules\n");
    std::shared_ptr<ax::Control> grid;
    if (!step("create", [&] { grid = create("Vantrel.Vantrel"); })) return nullptr;
    if (!step("place", [&] { host.place(grid, 7200, 2400); })) return nullptr;
    step("shape and headings", [&] {
        let(*grid, "Cols", Variant(int32_t(5)));
        let(*grid, "Rows", Variant(int32_t(4)));
        let(*grid, "FixedCols", Variant(int32_t(0)));
        const char* headings[] = {"Name", "Kind", "Qty", "Done", "Due"};
        for (int32_t c = 0; c < 5; ++c) setText(*grid, 0, c, headings[c]);
        say("  Cols 5, Rows 4 (one heading row), no fixed column:\n");
        printGrid(*grid);
        expect(get(*grid, "Rows").toLong() == 4 && get(*grid, "Cols").toLong() == 5, "a 4 by 5 grid");
        expect(text(*grid, 0, kDue) == "Due", "the heading of the last column");
    });
    step("column kinds", [&] {
        useColumn(*grid, kName, kTextBox);
        let(*grid, "ColTextMaxLength", Variant(int16_t(8)));
        useColumn(*grid, kKind, kDropDown);
        for (const char* item : {"Bolt", "Nut", "Washer"})
            ax::callMethod(*grid, "ComboAddItem", {Variant(int32_t(0)), Variant(item)});
        useColumn(*grid, kQty, kNumber);
        let(*grid, "ColZelPickerMin", Variant(int32_t(0)));
        let(*grid, "ColZelPickerMax", Variant(int32_t(500)));
        useColumn(*grid, kDone, kCheck);
        useColumn(*grid, kDue, kDate);
        let(*grid, "ColDTPickFormat", Variant(int32_t(4)));
        say("  Name: text of at most 8 characters; Kind: a drop-down list of Bolt, Nut, Washer;\n"
            "  Qty: a whole number 0..500; Done: a check box; Due: a date (format 4)\n");
        let(*grid, "Col", Variant(int32_t(kKind)));
        expect(get(*grid, "ComboListCount").toLong() == 3, "three items in the Kind list");
    });
    step("texts the host sets obey each column's rule", [&] {
        tryText(*grid, 1, kName, "Hexagon bolt", true);
        expect(text(*grid, 1, kName) == "Hexagon ", "a long name is cut at 8 characters");
        tryText(*grid, 1, kKind, "Nut", true);
        tryText(*grid, 1, kKind, "Screw", false);
        tryText(*grid, 1, kQty, "120", true);
        tryText(*grid, 1, kQty, "many", false);
        tryText(*grid, 1, kQty, "900", false);
        tryText(*grid, 1, kQty, "2.5", false);
        tryText(*grid, 1, kDone, "1", true);
        tryText(*grid, 1, kDone, "yes", false);
        tryText(*grid, 1, kDue, "3/15/2026", true);
        tryText(*grid, 1, kDue, "soon", false);
        printGrid(*grid);
    });
    return grid;
}

}  // namespace demo
