// Speed of the grid's data exchange against same-run baselines: LoadArray and SaveToArray against a
// plain std::vector<std::string> fill of the same texts; loading the grid from an XML file (5
// attribute and 5 element columns) against pugixml's own parse plus a walk that copies every value
// (the DOM's load alone measured beside them);
// writing the grid back and saving against building and saving the same document with pugixml;
// LoadRecordset over a SQLite query against a bare sqlite3_step loop that copies every text.
// The grid's Rows property stops below 32768 rows, so the loads run at 8,000 and 32,000 rows (the
// same fourfold growth as 100,000 to 400,000); SaveToArray, which only reads, runs up to 400,000.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <expat.h>
#include <sqlite3.h>
#include <pugixml.hpp>

#include "bench/placed_grid.h"
#include "grid/frame/vantrel.h"
#include "platform/flexgrid/flexgrid.h"
#include "platform/headless/headless_children.h"
#include "platform/recordset/recordset.h"
#include "platform/runtime/registry.h"
#include "platform/xml/dom.h"
#include "platform/xml/file_io.h"

namespace {

constexpr int kCols = 10;

// A placed grid that keeps every text whole.
struct PlacedGrid : benchgrid::PlacedGrid {
    PlacedGrid() { grid->setTextMaxLength(0); }
};

std::string text(int r, int c) { return "r" + std::to_string(r) + "c" + std::to_string(c); }

const std::vector<std::string>& texts(int rows) {
    static std::vector<std::string> cache;
    if (cache.size() != size_t(rows) * kCols) {
        cache.clear();
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < kCols; ++c) cache.push_back(text(r, c));
    }
    return cache;
}

// --- arrays ------------------------------------------------------------------------------------------

void BM_VectorFill(benchmark::State& state) {
    const int rows = int(state.range(0));
    const auto& t = texts(rows);
    for (auto _ : state) {
        std::vector<std::string> v(t.size());
        for (size_t i = 0; i < t.size(); ++i) v[i] = t[i];
        benchmark::DoNotOptimize(v.data());
    }
}

void BM_LoadArray(benchmark::State& state) {
    const int rows = int(state.range(0));
    auto array = std::make_shared<ax::SafeArray>(ax::VarType::String,
                                                 std::vector<ax::SafeArray::Bound>{{0, rows}, {0, kCols}});
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < kCols; ++c) array->at({r, c}) = ax::Variant(text(r, c));
    const ax::Variant arg(array);
    PlacedGrid p;
    p.grid->LoadArray(arg);  // warm-up, as the baselines' vectors are warm
    for (auto _ : state) {
        if (!p.grid->LoadArray(arg)) state.SkipWithError("LoadArray failed");
    }
}

void BM_SaveToArray(benchmark::State& state) {
    const int rows = int(state.range(0));
    PlacedGrid p;
    vantrel::Vantrel& g = *p.grid;
    g.setFixedRows(0);
    g.setFixedCols(0);
    g.setCols(kCols);
    g.innerGrid().setRows(rows);  // beyond what the Rows property takes
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < kCols; ++c) g.innerGrid().setTextMatrix(r, c, text(r, c));
    for (auto _ : state) {
        ax::Variant out;
        if (!g.SaveToArray(out)) state.SkipWithError("SaveToArray failed");
        benchmark::DoNotOptimize(out);
    }
}

// --- XML ---------------------------------------------------------------------------------------------

// A root-form file: rows with attributes a0..a4 and child elements e0..e4.
const std::string& xmlFile(int rows) {
    static std::string path;
    static int made = 0;
    if (made != rows) {
        pugi::xml_document doc;
        auto root = doc.append_child("rows");
        for (int r = 0; r < rows; ++r) {
            auto row = root.append_child("row");
            for (int c = 0; c < 5; ++c)
                row.append_attribute(("a" + std::to_string(c)).c_str()) = text(r, c).c_str();
            for (int c = 5; c < kCols; ++c)
                row.append_child(("e" + std::to_string(c)).c_str()).text().set(text(r, c).c_str());
        }
        path = (std::filesystem::temp_directory_path() /
                ("bench-exchange-" + std::to_string(::getpid()) + ".xml"))
                   .string();
        doc.save_file(path.c_str());
        made = rows;
    }
    return path;
}

void BM_PugiParseWalk(benchmark::State& state) {
    const std::string& path = xmlFile(int(state.range(0)));
    std::vector<std::string> values;  // kept warm from run to run, as the grid's own store is
    for (auto _ : state) {
        values.clear();
        pugi::xml_document doc;
        doc.load_file(path.c_str());
        for (auto row : doc.document_element().children()) {
            for (auto a : row.attributes()) values.emplace_back(a.value());
            for (auto e : row.children()) values.emplace_back(e.child_value());
        }
        benchmark::DoNotOptimize(values.data());
    }
}

// The strict check alone, as the DOM runs it (expat, namespace-aware, no handlers but the first
// element's): the floor under every XML load, however fast the tree and the walk.
void BM_ExpatCheck(benchmark::State& state) {
    const std::string& path = xmlFile(int(state.range(0)));
    for (auto _ : state) {
        std::string text;
        if (ax::xml::readFile(path, text) != ax::xml::ReadStatus::Ok) state.SkipWithError("unreadable");
        XML_Parser parser = XML_ParserCreateNS("UTF-8", '\n');
        if (XML_Parse(parser, text.data(), int(text.size()), XML_TRUE) != XML_STATUS_OK)
            state.SkipWithError("not well-formed");
        XML_ParserFree(parser);
    }
}

// The DOM's load alone (expat's check, then pugixml's tree), to tell its share of LoadXMLRoot.
void BM_XmlDocumentLoad(benchmark::State& state) {
    const std::string& path = xmlFile(int(state.range(0)));
    for (auto _ : state) {
        auto doc = ax::xml::Document::create();
        if (!doc->load(path)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(doc.get());
    }
}

void BM_LoadXMLRoot(benchmark::State& state) {
    const std::string& path = xmlFile(int(state.range(0)));
    PlacedGrid p;
    auto load = [&] {
        p.grid->setXMLFilePath(path);
        p.grid->LoadXMLDoc();
        p.grid->LoadXMLRoot(true);
    };
    load();  // warm-up
    for (auto _ : state) load();
}

void BM_PugiBuildSave(benchmark::State& state) {
    const int rows = int(state.range(0));
    const std::string out = xmlFile(rows) + ".pugi";
    for (auto _ : state) {
        pugi::xml_document doc;
        auto root = doc.append_child("rows");
        for (int r = 0; r < rows; ++r) {
            auto row = root.append_child("row");
            for (int c = 0; c < 5; ++c)
                row.append_attribute(("a" + std::to_string(c)).c_str()) = text(r, c).c_str();
            for (int c = 5; c < kCols; ++c)
                row.append_child(("e" + std::to_string(c)).c_str()).text().set(text(r, c).c_str());
        }
        doc.save_file(out.c_str());
    }
}

void BM_UpdateXMLRootAndSave(benchmark::State& state) {
    const std::string& path = xmlFile(int(state.range(0)));
    PlacedGrid p;
    p.grid->setXMLFilePath(path);
    p.grid->LoadXMLDoc();
    p.grid->LoadXMLRoot(true);
    p.grid->setXMLFilePath(path + ".grid");
    p.grid->UpdateXMLRoot();  // warm-up
    p.grid->SaveXMLDoc();
    for (auto _ : state) {
        if (!p.grid->UpdateXMLRoot() || !p.grid->SaveXMLDoc()) state.SkipWithError("write back failed");
    }
}

// --- recordsets --------------------------------------------------------------------------------------

// A database with one table of ten text columns c0..c9.
const std::string& databaseFile(int rows) {
    static std::string path;
    static int made = 0;
    if (made != rows) {
        path = (std::filesystem::temp_directory_path() /
                ("bench-exchange-" + std::to_string(::getpid()) + ".db"))
                   .string();
        std::filesystem::remove(path);
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        std::string create = "CREATE TABLE t(";
        for (int c = 0; c < kCols; ++c) create += (c ? ", c" : "c") + std::to_string(c) + " TEXT";
        sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO t VALUES(?,?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < kCols; ++c) {
                const std::string t = text(r, c);
                sqlite3_bind_text(insert, c + 1, t.c_str(), int(t.size()), SQLITE_TRANSIENT);
            }
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        made = rows;
    }
    return path;
}

void BM_SqliteStepCopy(benchmark::State& state) {
    const std::string& path = databaseFile(int(state.range(0)));
    // Kept from run to run, so the baseline does not pay for touching fresh memory each time.
    std::vector<std::string> values;
    for (auto _ : state) {
        values.clear();
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM t", -1, &select, nullptr);
        while (sqlite3_step(select) == SQLITE_ROW) {
            for (int c = 0; c < kCols; ++c) {
                const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(select, c));
                values.emplace_back(t ? t : "", size_t(sqlite3_column_bytes(select, c)));
            }
        }
        sqlite3_finalize(select);
        sqlite3_close(db);
        benchmark::DoNotOptimize(values.data());
    }
}

void BM_LoadRecordset(benchmark::State& state) {
    const std::string& path = databaseFile(int(state.range(0)));
    PlacedGrid p;
    p.grid->LoadRecordset(ax::Variant(ax::openSqliteRecordset(path, "SELECT * FROM t")));  // warm-up
    for (auto _ : state) {
        const ax::Variant rec(ax::openSqliteRecordset(path, "SELECT * FROM t"));
        p.grid->LoadRecordset(rec);
        if (p.grid->Rows() != state.range(0) + 1) state.SkipWithError("LoadRecordset stopped early");
    }
}

}  // namespace

BENCHMARK(BM_VectorFill)->Arg(8000)->Arg(32000)->Arg(100000)->Arg(400000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadArray)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SaveToArray)
    ->Arg(8000)
    ->Arg(32000)
    ->Arg(100000)
    ->Arg(400000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_PugiParseWalk)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpatCheck)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlDocumentLoad)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadXMLRoot)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PugiBuildSave)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateXMLRootAndSave)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK(BM_SqliteStepCopy)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadRecordset)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond)->Iterations(3);

#include "bench/warm_heap_main.h"
