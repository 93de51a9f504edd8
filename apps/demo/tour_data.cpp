// Steps 4 and 5: strings kept beside the cells, and edits inside transactions.
#include <algorithm>

#include "apps/demo/tour.h"

namespace demo {

namespace {

using ax::Variant;

std::string data(ax::Control& grid, int32_t row, int32_t col) {
    return ax::getProperty(grid, "DataMatrix", {Variant(row), Variant(col)}).toString();
}

std::vector<std::string> column(ax::Control& grid, int32_t col) {
    std::vector<std::string> texts;
    const int32_t rows = get(grid, "Rows").toLong();
    for (int32_t r = 1; r < rows; ++r) texts.push_back(text(grid, r, col));
    return texts;
}

std::string joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const auto& t : texts) all += (all.empty() ? "\"" : ", \"") + t + "\"";
    return all;
}

}  // namespace

void maintainedTour(ax::Control& grid) {
    say("\n4. Strings kept beside the cells (MaintainData)\n");
    step("data strings follow their rows", [&] {
        let(grid, "MaintainData", Variant(true));
        for (int32_t r = 1; r < 4; ++r)
            ax::letProperty(grid, "DataMatrix", Variant("id-" + std::to_string(r)),
                            {Variant(r), Variant(int32_t(0))});
        say("  rows 1..3 get the data strings id-1, id-2, id-3 in column 0\n");
        say("  AddItem \"Nail<tab>Nut<tab>40\" at index 2, then RemoveItem 1:\n");
        ax::callMethod(grid, "AddItem", {Variant("Nail\tNut\t40"), Variant(int32_t(2))});
        expect(text(grid, 2, 0) == "Nail" && data(grid, 2, 0).empty(), "the new row 2 has no data string");
        expect(data(grid, 3, 0) == "id-2", "id-2 moved down with its row");
        ax::callMethod(grid, "RemoveItem", {Variant(int32_t(1))});
        expect(data(grid, 2, 0) == "id-2" && data(grid, 3, 0) == "id-3",
               "data strings moved up after RemoveItem");
        printGrid(grid);
        const int32_t rows = get(grid, "Rows").toLong();
        for (int32_t r = 1; r < rows; ++r) say("    row %d data: \"%s\"\n", r, data(grid, r, 0).c_str());
    });
    step("no sort while strings are maintained", [&] {
        let(grid, "Row", Variant(int32_t(1)));
        let(grid, "Col", Variant(int32_t(0)));
        const auto before = column(grid, 0);
        let(grid, "Sort", Variant(int32_t(1)));
        say("  Sort = 1 (ascending) on the Name column: %s\n", joined(column(grid, 0)).c_str());
        expect(column(grid, 0) == before, "the rows keep their order");
        let(grid, "MaintainData", Variant(false));
        let(grid, "Sort", Variant(int32_t(1)));
        auto sorted = column(grid, 0);
        say("  MaintainData off, Sort = 1 again: %s\n", joined(sorted).c_str());
        expect(sorted != before && std::is_sorted(sorted.begin(), sorted.end()),
               "the names are now in order");
    });
}

void transactionsTour(ax::Control& grid) {
    say("\n5. Transactions\n");
    step("RollBack puts everything back", [&] {
        const auto names = column(grid, 0);
        const int32_t rows = get(grid, "Rows").toLong();
        ax::callMethod(grid, "BeginTrans");
        setText(grid, 1, 0, "Draft");
        ax::callMethod(grid, "AddItem", {Variant("Extra")});
        say("  BeginTrans, (1, Name) <- Draft, a row added:\n");
        printGrid(grid);
        ax::callMethod(grid, "RollBack");
        say("  RollBack:\n");
        printGrid(grid);
        expect(get(grid, "Rows").toLong() == rows && column(grid, 0) == names, "rows and texts as before");
    });
    step("Commit keeps the edits", [&] {
        ax::callMethod(grid, "BeginTrans");
        setText(grid, 1, 0, "Kept");
        ax::callMethod(grid, "Commit");
        say("  BeginTrans, (1, Name) <- Kept, Commit:\n");
        printGrid(grid);
        expect(text(grid, 1, 0) == "Kept", "the committed text stays");
    });
}

}  // namespace demo
