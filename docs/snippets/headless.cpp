#include "docs/snippets/snippets.h"

namespace guide {

// [print-grid]
void printGrid(std::ostream& out, const vantrel::Vantrel& grid) {
    for (int32_t r = 0; r < grid.Rows(); ++r) {
        for (int32_t c = 0; c < grid.Cols(); ++c) out << (c ? "|" : "") << grid.TextMatrix(r, c);
        out << "\n";
    }
}
// [print-grid]

// [headless-program]
void headlessProgram(std::ostream& out) {
    auto host = ax::makeHeadlessHost();  // a container without a screen, with the standard children
    host->setUserMode(true);             // a running program; a form designer leaves it False
    auto grid = std::make_shared<vantrel::Vantrel>();
    host->place(grid, 4800, 1800);  // twips: site, InitProperties, Resize, Show

    grid->setCols(3);
    grid->setRows(3);
    grid->setFormatString("<Item|>Qty|Note");  // alignment and heading of each column
    grid->setTextMatrix(1, 0, "Pencil");
    grid->setTextMatrix(1, 1, "120");
    grid->setTextMatrix(2, 0, "Eraser");

    // The user clicks the note of row 2 and types; Enter keeps the text.
    ax::FlexGrid& cells = grid->innerGrid();
    host->click(cells, cells.ColPos(2) + 100, cells.RowPos(2) + 100);
    host->typeText("soft");
    host->typeKey(ax::key::Return);
    printGrid(out, *grid);
}
// [headless-program]

// [spin]
void spinControl(std::ostream& out) {
    auto host = ax::makeHeadlessHost();
    host->setUserMode(true);
    auto spin = std::make_shared<zel::Zel>();
    host->place(spin, 1200, 300);
    spin->setMax(10);
    spin->setMin(1);
    spin->setValue(5);

    // The user types into the text field: "1" is taken, "12" is above Max and goes back to "1".
    host->setFocus(spin->textField());  // the whole text is selected: the first key replaces it
    host->typeText("12");
    out << "typed 12: " << spin->Value() << " shows \"" << spin->Text() << "\"\n";
    host->typeKey(ax::key::End);
    host->typeKey(ax::key::Back);  // an empty field changes nothing until a number is typed
    host->typeText("7");
    out << "End, Backspace, 7: " << spin->Value() << "\n";
    spin->setValue(11);  // outside the bounds: ignored without an error
    out << "Value 11 ignored: " << spin->Value() << "\n";
}
// [spin]

}  // namespace guide
