#include <fstream>

#include "docs/snippets/snippets.h"

namespace guide {

// [errors]
void errors(std::ostream& out) {
    auto report = [&out](const char* what, auto call) {
        try {
            call();
            out << what << ": no error\n";
        } catch (const ax::AutomationError& e) {
            out << what << ": error " << e.number() << " (" << e.description() << ")\n";
        }
    };
    auto host = ax::makeHeadlessHost();  // design mode, as a form designer
    auto grid = std::make_shared<vantrel::Vantrel>();
    host->place(grid, 4800, 2400);

    // Members that only make sense in a running program raise 382 in design mode, the XML names 387.
    report("ColInputStyle at design time", [&] { grid->setColInputStyle(vantrel::ZelPicker); });
    report("RootChildTagName at design time", [&] { grid->setRootChildTagName("rows"); });
    host->setUserMode(true);

    // A value a setter does not take is ignored: nothing changes, nothing is raised.
    grid->setTextMaxLength(-5);
    out << "TextMaxLength(-5) ignored: " << grid->TextMaxLength() << "\n";
    grid->setRow(99);
    out << "Row = 99 ignored: " << grid->Row() << "\n";
    // The inner grid's own errors reach the caller.
    report("RemoveItem of the only data row", [&] { grid->RemoveItem(1); });
    report("ColWidth(99)", [&] { grid->ColWidth(99); });

    // Exchange methods that answer false...
    ax::SafeArray flat(ax::VarType::String, {{0, 3}});
    out << "LoadArray(one dimension): " << grid->LoadArray(ax::Variant(flat)) << "\n";
    grid->BeginTrans();
    out << "LoadXMLRootChild in a transaction: " << grid->LoadXMLRootChild() << "\n";
    grid->RollBack();
    // ...and those that raise.
    report("LoadXMLRoot without a document", [&] { grid->LoadXMLRoot(); });
    grid->CreateXMLDoc("rows", 0);
    grid->setXMLFilePath("no-such-folder/rows.xml");
    report("SaveXMLDoc to a missing folder", [&] { grid->SaveXMLDoc(); });
    report("openSqliteRecordset on a missing file",
           [] { ax::openSqliteRecordset("missing.db", "SELECT 1"); });
}
// [errors]

// [xml-parse-error]
void xmlParseError(std::ostream& out) {
    std::ofstream("broken.xml") << "<stock>\n  <item id=\"1\">\n</stock>\n";
    auto host = ax::makeHeadlessHost();
    host->setUserMode(true);
    auto grid = std::make_shared<vantrel::Vantrel>();
    host->place(grid, 4800, 2400);

    grid->setXMLFilePath("broken.xml");
    grid->LoadXMLDoc();  // swallows the failure and binds an empty document
    const std::shared_ptr<ax::xml::ParseError> error = grid->XMLDocument()->parseError();
    if (error->errorCode() != 0)
        out << "line " << error->line() << ", position " << error->linepos() << ": " << error->reason()
            << "\n";
    try {
        grid->LoadXMLRoot();  // an empty document has no rows to load
    } catch (const ax::AutomationError& e) {
        out << "LoadXMLRoot: error " << e.number() << "; the grid has " << grid->Rows() << " rows\n";
    }
}
// [xml-parse-error]

}  // namespace guide
