#include <fstream>
#include <sstream>

#include "docs/snippets/snippets.h"

namespace guide {

namespace {
std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
}  // namespace

// [xml-root-child]
void xmlRootChild(std::ostream& out) {
    auto host = ax::makeHeadlessHost();
    host->setUserMode(true);  // the XML members work only in a running program
    auto grid = std::make_shared<vantrel::Vantrel>();
    host->place(grid, 4800, 2400);

    grid->setXMLFilePath("sample.xml");
    grid->LoadXMLDoc();  // never raises: the document's root tells whether the file was read
    out << "root: " << grid->RootElementTagName() << "\n";

    // The rows are the children of <stock>, a child of the root: name it before loading, or the
    // load finds no rows, returns false and leaves an empty grid.
    grid->setRootChildTagName("stock");
    if (!grid->LoadXMLRootChild(true)) return;  // true: the names become the headings
    printGrid(out, *grid);
    out << "rows are <" << grid->RowElementTagName() << ">\n";

    // Change a cell, write the rows back into the document and save it under a new name.
    grid->setTextMatrix(1, 3, "130");
    grid->setXMLFilePath("stock-copy.xml");
    out << "written back: " << grid->UpdateXMLRootChild() << ", saved: " << grid->SaveXMLDoc() << "\n";
}
// [xml-root-child]

// [xml-new]
void xmlNew(std::ostream& out) {
    auto host = ax::makeHeadlessHost();
    host->setUserMode(true);
    auto grid = std::make_shared<vantrel::Vantrel>();
    host->place(grid, 4800, 2400);
    grid->setCols(3);  // before the XML names: a new column count drops the binding
    grid->setRows(3);
    grid->setFixedCols(0);  // Col cannot name a fixed column, and every column goes into the file
    const char* texts[2][3] = {{"1", "Bolt", "12"}, {"2", "Nut & washer", "40"}};
    for (int32_t r = 0; r < 2; ++r)
        for (int32_t c = 0; c < 3; ++c) grid->setTextMatrix(r + 1, c, texts[r][c]);

    // Each column is an attribute or a child element of the row elements (setting one clears the other).
    grid->setCol(0);
    grid->setColAttributeName("id");  // <part id="...">
    grid->setCol(1);
    grid->setColElementName("name");  // <part><name>...</name>
    grid->setCol(2);
    grid->setColElementName("qty");
    if (!grid->CreateXMLDoc("parts", 0)) return;  // 0: UTF-8; false for a name that is not valid
    grid->setRowElementTagName("part");
    grid->setXMLFilePath("parts.xml");
    grid->UpdateXMLRoot();  // the rows straight under the root (UpdateXMLRootChild: in a container)
    grid->SaveXMLDoc();
    out << fileText("parts.xml");
}
// [xml-new]

// [xml-root]
void xmlRoot(std::ostream& out) {
    auto host = ax::makeHeadlessHost();
    host->setUserMode(true);
    auto grid = std::make_shared<vantrel::Vantrel>();
    host->place(grid, 4800, 2400);

    grid->setXMLFilePath("parts.xml");
    grid->LoadXMLDoc();
    grid->LoadXMLRoot(true);  // no result: it raises when it cannot load
    printGrid(out, *grid);
}
// [xml-root]

}  // namespace guide
