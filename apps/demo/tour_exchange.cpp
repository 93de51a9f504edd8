// Step 6: arrays, a database recordset and an XML document in and out of the grid.
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "apps/demo/temp_folder.h"
#include "apps/demo/tour.h"
#include "platform/automation/convert.h"
#include "platform/recordset/recordset.h"

namespace demo {

namespace {

using ax::Variant;

// Builds the sample database from its SQL text with the sqlite3 library; raises when it cannot.
std::string buildSampleDatabase(const std::filesystem::path& folder) {
    std::ifstream in(std::filesystem::path(VN_DEMO_DATA_DIR) / "sample.sql");
    if (!in) ax::raise(ax::err::FileNotFound, std::string(VN_DEMO_DATA_DIR) + "/sample.sql not found");
    const std::string script((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string path = (folder / "sample.db").string();
    sqlite3* db = nullptr;
    char* error = nullptr;
    const bool ok = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
                    sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error) == SQLITE_OK;
    const std::string why = error ? error : (db ? sqlite3_errmsg(db) : "cannot open");
    sqlite3_free(error);
    sqlite3_close(db);
    if (!ok) ax::raise(ax::err::FileNotFound, "sample database: " + why);
    return path;
}

}  // namespace

void exchangeTour(ax::HeadlessHost& host) {
    say("\n6. Data exchange, on a second grid\n");
    std::shared_ptr<ax::Control> grid;
    if (!step("create", [&] { grid = create("Vantrel.Vantrel"); })) return;
    if (!step("place", [&] { host.place(grid, 7200, 2400); })) return;
    TempFolder folder("vantrel-demo");
    step("LoadArray and SaveToArray", [&] {
        ax::SafeArray rows(ax::VarType::String, {{0, 2}, {0, 3}});
        const char* cells[2][3] = {{"Bolt", "M6", "12"}, {"Nut", "M6", "40"}};
        for (int32_t r = 0; r < 2; ++r)
            for (int32_t c = 0; c < 3; ++c) rows.at({r, c}) = Variant(cells[r][c]);
        ax::callMethod(*grid, "LoadArray", {Variant(rows)});
        say("  LoadArray of a 2 by 3 array (rows below the heading row):\n");
        printGrid(*grid);
        expect(get(*grid, "Cols").toLong() == 3 && text(*grid, 2, 0) == "Nut",
               "the array's rows in the grid");
        setText(*grid, 1, 2, "15");
        std::vector<Variant> args{Variant()};
        const bool saved = ax::cBool(grid->Invoke("SaveToArray", ax::InvokeKind::Method, args));
        expect(saved && args[0].array() != nullptr, "SaveToArray fills an empty Variant");
        if (!saved || !args[0].array()) return;
        const ax::SafeArray& back = *args[0].array();
        say("  (1, 2) <- 15, then SaveToArray gives rows 0..%d, columns 0..%d; element (0, 2) reads %s\n",
            back.ubound(1), back.ubound(2), back.at({0, 2}).toString().c_str());
        expect(back.ubound(1) == 1 && back.ubound(2) == 2 && back.at({0, 2}).toString() == "15",
               "the saved array holds the edited grid");
    });
    step("LoadRecordset from the sample database", [&] {
        const std::string db = buildSampleDatabase(folder.path());
        auto rec = ax::openSqliteRecordset(db, "SELECT item, qty, price, added, note FROM stock ORDER BY id");
        const bool loaded = ax::cBool(ax::callMethod(*grid, "LoadRecordset", {Variant(rec)}));
        say("  LoadRecordset of SELECT item, qty, price, added, note FROM stock (built from sample.sql):\n");
        printGrid(*grid);
        expect(loaded && get(*grid, "Rows").toLong() == 7, "a heading row and six records");
        expect(text(*grid, 0, 0) == "item" && text(*grid, 3, 0) == "Cr\xC3\xA8me paper",
               "field names in the heading, the records below");
    });
    step("the XML binding of sample.xml", [&] {
        // Work on a copy: writing back must not touch the sample file.
        const auto copy = folder.path() / "sample.xml";
        std::filesystem::copy_file(std::filesystem::path(VN_DEMO_DATA_DIR) / "sample.xml", copy,
                                   std::filesystem::copy_options::overwrite_existing);
        let(*grid, "XMLFilePath", Variant(copy.string()));
        ax::callMethod(*grid, "LoadXMLDoc");
        let(*grid, "RootChildTagName", Variant("stock"));
        const bool loaded = ax::cBool(ax::callMethod(*grid, "LoadXMLRootChild", {Variant(true)}));
        say("  LoadXMLDoc, RootChildTagName \"stock\", LoadXMLRootChild(True) (headings from the names):\n");
        printGrid(*grid);
        expect(loaded && get(*grid, "Rows").toLong() == 6, "a heading row and five items");
        expect(text(*grid, 4, 2) == "Stapler & staples", "entities are read as characters");

        setText(*grid, 1, 3, "95");
        const bool updated = ax::cBool(ax::callMethod(*grid, "UpdateXMLRootChild"));
        const bool written = ax::cBool(ax::callMethod(*grid, "SaveXMLDoc"));
        std::ifstream in(copy);
        const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const bool inFile = file.find("<qty>95</qty>") != std::string::npos;
        say("  (1, qty) <- 95, UpdateXMLRootChild, SaveXMLDoc: the copy %s <qty>95</qty>\n",
            inFile ? "now holds" : "does NOT hold");
        expect(updated && written && inFile, "the edit is written back into the document");
    });
}

}  // namespace demo
