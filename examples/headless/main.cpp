// A program of its own with the grid on the headless host: it sets up columns, loads rows, lets a
// "user" edit a cell with the keyboard, and prints the grid. Exits non-zero when something is off.
#include <cstdio>
#include <memory>
#include <string>

#include "grid/frame/vantrel.h"
#include "platform/automation/errors.h"
#include "platform/flexgrid/flexgrid.h"
#include "platform/headless/headless_children.h"
#include "platform/host/child.h"
#include "platform/runtime/registry.h"

int main() {
    try {
        auto host = ax::makeHeadlessHost();
        host->setUserMode(true);  // a running program, not a form designer

        auto grid = std::make_shared<vantrel::Vantrel>();
        host->place(grid, 6000, 2400);  // twips; the grid makes its number editor by name here
        grid->setCols(3);
        grid->setRows(4);
        grid->setFormatString("<Item|>Qty|Note");
        grid->setCol(1);
        grid->setColInputStyle(vantrel::ZelPicker);
        grid->setColZelPickerMin(0);
        grid->setColZelPickerMax(99);
        const char* rows[][3] = {{"Pencil", "12", ""}, {"Eraser", "3", ""}, {"Ruler", "250", "too many"}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) grid->setTextMatrix(r + 1, c, rows[r][c]);

        // The user clicks the note of row 1 and types; Enter keeps the text.
        ax::FlexGrid& cells = grid->innerGrid();
        host->click(cells, cells.ColPos(2) + 100, cells.RowPos(1) + 100);
        host->typeText("sharp");
        host->typeKey(ax::key::Return);

        for (int r = 0; r < grid->Rows(); ++r)
            std::printf("%-8s|%4s|%s\n", grid->TextMatrix(r, 0).c_str(), grid->TextMatrix(r, 1).c_str(),
                        grid->TextMatrix(r, 2).c_str());

        // Any host can do the same by name; the spin control is created by its identifier.
        auto spin = ax::CreateObject("ZelCtrl.Zel");
        std::printf("created %s by name; the grid has %d rows\n", "ZelCtrl.Zel",
                    ax::getProperty(*grid, "Rows").toLong());

        const bool ok = grid->TextMatrix(1, 2) == "sharp" && grid->TextMatrix(3, 1) != "250" && spin;
        if (!ok) std::printf("unexpected grid contents\n");
        return ok ? 0 : 1;
    } catch (const ax::AutomationError& e) {
        std::printf("error %d: %s\n", e.number(), e.description().c_str());
        return 1;
    }
}
