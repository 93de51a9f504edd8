// Loading the grid from recordsets: SQLite results built by the test, a recordset the host fills
// itself, an empty reference, and objects that lack members or fail half way through a walk.
#include <sqlite3.h>

#include "platform/recordset/recordset.h"
#include "tests/grid/exchange/exchange_host.h"

namespace vantrel::test {
namespace {

using RecordsetTest = GridTest;

std::string makeDatabase(const TempDir& dir, const std::string& script) {
    const std::string path = dir.file("data.db");
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
    return path;
}

std::vector<std::string> row0(Vantrel& g) {
    std::vector<std::string> out;
    for (int32_t c = 0; c < g.Cols(); ++c) out.push_back(g.TextMatrix(0, c));
    return out;
}

constexpr const char* kPeople =
    "CREATE TABLE people(id INTEGER, name TEXT, height REAL, note TEXT, big INTEGER);"
    "INSERT INTO people VALUES(1, 'Ann', 1.75, NULL, 5000000000);"
    "INSERT INTO people VALUES(2, 'Bo\xC3\xABl', NULL, 'x&y', -7);"
    "INSERT INTO people VALUES(3, NULL, 2, '', 0);";

TEST_F(RecordsetTest, SqliteResultBecomesHeadingsAndRowsWithNullsAsEmptyCells) {
    TempDir dir;
    fill(6, 7);
    grid->setFixedCols(2);
    const auto rec = ax::openSqliteRecordset(makeDatabase(dir, kPeople), "SELECT * FROM people ORDER BY id");
    rec->MoveLast();  // wherever the host left the cursor, the load starts from the first record
    const uint64_t paintsBefore = paintsOf(inner());

    ASSERT_TRUE(grid->LoadRecordset(ax::Variant(rec)));
    EXPECT_EQ(grid->FixedRows(), 1);
    EXPECT_EQ(grid->FixedCols(), 0);
    EXPECT_EQ(grid->Rows(), 4);
    EXPECT_EQ(grid->Cols(), 5);
    std::vector<std::string> heading, first, second, third;
    for (int32_t c = 0; c < 5; ++c) {
        heading.push_back(grid->TextMatrix(0, c));
        first.push_back(grid->TextMatrix(1, c));
        second.push_back(grid->TextMatrix(2, c));
        third.push_back(grid->TextMatrix(3, c));
    }
    EXPECT_EQ(heading, (std::vector<std::string>{"id", "name", "height", "note", "big"}));
    EXPECT_EQ(first, (std::vector<std::string>{"1", "Ann", "1.75", "", "5000000000"}));
    EXPECT_EQ(second, (std::vector<std::string>{"2", "Bo\xC3\xABl", "", "x&y", "-7"}));
    EXPECT_EQ(third, (std::vector<std::string>{"3", "", "2", "", "0"}));
    EXPECT_EQ(inner().Row(), 1);
    EXPECT_EQ(inner().Col(), 0);
    EXPECT_TRUE(inner().Redraw());
    EXPECT_EQ(paintsOf(inner()) - paintsBefore, 1u);
    EXPECT_EQ(grid->BoundSource(), rec);
    EXPECT_FALSE(grid->SuppressBindingReset());

    // A query without records: the field names and no data row.
    const auto none =
        ax::openSqliteRecordset(dir.file("data.db"), "SELECT id, name FROM people WHERE id > 10");
    std::vector<ax::Variant> args{ax::Variant(none)};
    EXPECT_EQ(grid->Invoke("LoadRecordset", ax::InvokeKind::Method, args), ax::Variant(true));
    EXPECT_EQ(grid->Rows(), 1);
    EXPECT_EQ(grid->Cols(), 2);
    EXPECT_EQ(grid->TextMatrix(0, 1), "name");
    EXPECT_EQ(grid->BoundSource(), none);

    // Changing the columns forgets the recordset.
    grid->setCols(3);
    EXPECT_EQ(grid->BoundSource(), nullptr);
}

TEST_F(RecordsetTest, HostFilledRecordsetAndEmptyReferences) {
    auto rec = std::make_shared<ax::MemoryRecordset>(std::vector<std::string>{"when", "flag", "n"});
    rec->addRow({ax::Variant(ax::Date{46000.5}), ax::Variant(true), ax::Variant(int16_t(-3))});
    rec->addRow({ax::Variant(), ax::Variant(false)});
    ASSERT_TRUE(grid->LoadRecordset(ax::Variant(rec)));
    EXPECT_EQ(grid->Rows(), 3);
    EXPECT_EQ(grid->TextMatrix(1, 1), "True");
    EXPECT_EQ(grid->TextMatrix(1, 2), "-3");
    EXPECT_FALSE(grid->TextMatrix(1, 0).empty());
    EXPECT_EQ(grid->TextMatrix(2, 0), "");
    EXPECT_EQ(grid->TextMatrix(2, 2), "");

    // An empty reference still answers True: a heading row and one empty data row remain.
    for (const ax::Variant& empty :
         {ax::Variant(), ax::Variant(std::shared_ptr<ax::Object>()), ax::Variant("rs")}) {
        EXPECT_FALSE(IsObjectSet(empty));
        EXPECT_TRUE(grid->LoadRecordset(empty));
        EXPECT_EQ(grid->Rows(), 2);
        EXPECT_EQ(grid->FixedRows(), 1);
        EXPECT_EQ(grid->TextMatrix(0, 0), "");
        EXPECT_EQ(grid->TextMatrix(1, 1), "");
        EXPECT_EQ(grid->BoundSource(), nullptr);
    }

    // The walk left the cursor after the last record: loading again shows the headings only,
    // until the host moves back to the first record.
    ASSERT_TRUE(grid->LoadRecordset(ax::Variant(rec)));
    EXPECT_EQ(grid->Rows(), 1);
    EXPECT_EQ(grid->TextMatrix(0, 1), "flag");
    rec->MoveFirst();
    ASSERT_TRUE(grid->LoadRecordset(ax::Variant(rec)));

    // Refused inside a transaction, with nothing changed.
    grid->BeginTrans();
    EXPECT_FALSE(grid->LoadRecordset(ax::Variant()));
    EXPECT_EQ(grid->Rows(), 3);
    EXPECT_EQ(grid->TextMatrix(1, 2), "-3");
    grid->RollBack();
}

// A recordset of its own making: two fields, `records` records, that raises on the MoveNext after
// `failAfter` records, and answers only the members a loader needs.
class FlakyRecordset : public ax::Object {
  public:
    FlakyRecordset(int records, int failAfter) : records_(records), failAfter_(failAfter) {}
    ax::Variant Invoke(std::string_view name, ax::InvokeKind, std::vector<ax::Variant>& args) override {
        const std::string n = ax::detail::lowerName(name);
        if (n == "fields") {
            if (args.empty()) return ax::Variant(shared_from_this());
            return ax::Variant(std::make_shared<FlakyField>(*this, args[0].toLong()));
        }
        if (n == "count") return ax::Variant(int32_t(2));
        if (n == "eof") return ax::Variant(position_ >= records_);
        if (n == "bof") return ax::Variant(records_ == 0);
        if (n == "movefirst") {
            position_ = 0;
            return {};
        }
        if (n == "movenext") {
            if (position_ + 1 >= failAfter_) ax::raise(3709, "connection lost");
            ++position_;
            return {};
        }
        ax::raise(ax::err::MemberNotFound);
    }

  private:
    // Answers with the record current when it is asked, as a snapshot.
    class FlakyField : public ax::Object {
      public:
        FlakyField(FlakyRecordset& rs, int32_t index)
            : name_("f" + std::to_string(index)), value_(rs.position_ * 10 + index) {}
        ax::Variant Invoke(std::string_view name, ax::InvokeKind, std::vector<ax::Variant>&) override {
            if (ax::detail::lowerName(name) == "name") return ax::Variant(name_);
            return ax::Variant(int32_t(value_));
        }

      private:
        std::string name_;
        int value_;
    };
    int records_, failAfter_, position_ = 0;
};

TEST_F(RecordsetTest, FailuresDuringTheWalkKeepWhatWasFilledAndAnswerFalse) {
    auto flaky = std::make_shared<FlakyRecordset>(5, 2);
    EXPECT_FALSE(grid->LoadRecordset(ax::Variant(flaky)));
    EXPECT_EQ(grid->Rows(), 3);  // two records arrived before MoveNext failed
    EXPECT_EQ(grid->TextMatrix(0, 1), "f1");
    EXPECT_EQ(grid->TextMatrix(1, 1), "1");
    EXPECT_EQ(grid->TextMatrix(2, 0), "10");
    EXPECT_TRUE(inner().Redraw());
    EXPECT_FALSE(grid->SuppressBindingReset());
    EXPECT_EQ(grid->BoundSource(), flaky);

    // An object without Fields: the grid cut to its heading row, and no success claimed.
    fill(4, 4);
    auto stranger = std::make_shared<ax::MemoryRecordset>()->getFields();
    EXPECT_FALSE(grid->LoadRecordset(ax::Variant(stranger)));
    EXPECT_EQ(grid->Rows(), 1);  // cut to the heading row before Fields was asked for
    EXPECT_EQ(grid->TextMatrix(0, 0), "");
    EXPECT_TRUE(inner().Redraw());
}

TEST_F(RecordsetTest, AQueryFailingHalfWayOrRecordsBeyondTheGridAnswerFalseWithTheRowsKept) {
    TempDir dir;
    // SQLite fails at the third record (abs() of the smallest 64-bit number overflows).
    const std::string path = makeDatabase(dir,
                                          "CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT);"
                                          "INSERT INTO t VALUES(1,'a'),(2,'b'),(3,'c'),(4,'d'),(5,'e');");
    const auto failing = ax::openSqliteRecordset(
        path, "SELECT id, name, CASE WHEN id = 3 THEN abs(-9223372036854775807 - 1) ELSE 0 END AS x FROM t");
    EXPECT_FALSE(grid->LoadRecordset(ax::Variant(failing)));
    EXPECT_EQ(grid->Rows(), 3);
    EXPECT_EQ(row0(*grid), (std::vector<std::string>{"id", "name", "x"}));
    EXPECT_EQ(grid->TextMatrix(2, 1), "b");
    EXPECT_EQ(grid->BoundSource(), failing);
    EXPECT_FALSE(grid->SuppressBindingReset());
    EXPECT_TRUE(inner().Redraw());
    // The same table without the failure loads whole.
    EXPECT_TRUE(grid->LoadRecordset(ax::Variant(ax::openSqliteRecordset(path, "SELECT id, name FROM t"))));
    EXPECT_EQ(grid->Rows(), 6);

    // More records than the grid has rows for: every row it can hold is filled, in order.
    const std::string count = "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < ";
    EXPECT_FALSE(
        grid->LoadRecordset(ax::Variant(ax::openSqliteRecordset(path, count + "40000) SELECT n FROM c"))));
    const int32_t held = grid->Rows() - 1;
    EXPECT_GT(held, 30000);
    EXPECT_LT(held, 40000);
    EXPECT_EQ(grid->TextMatrix(held, 0), std::to_string(held));
    EXPECT_EQ(inner().Row(), 1);
    // Exactly as many records as it holds is a whole load.
    EXPECT_TRUE(grid->LoadRecordset(
        ax::Variant(ax::openSqliteRecordset(path, count + std::to_string(held) + ") SELECT n FROM c"))));
    EXPECT_EQ(grid->Rows() - 1, held);
}

// The demo's sample data: the database built from its SQL text, and the XML file in root-child form.
TEST_F(RecordsetTest, DemoSampleDataLoads) {
    TempDir dir;
    std::ifstream sql(std::string(VN_SAMPLE_DIR) + "/sample.sql");
    const std::string script((std::istreambuf_iterator<char>(sql)), std::istreambuf_iterator<char>());
    const auto rec = ax::openSqliteRecordset(makeDatabase(dir, script), "SELECT * FROM stock ORDER BY id");
    ASSERT_TRUE(grid->LoadRecordset(ax::Variant(rec)));
    EXPECT_EQ(grid->Rows(), 7);
    EXPECT_EQ(grid->TextMatrix(3, 1), "Cr\xC3\xA8me paper");

    grid->setXMLFilePath(std::string(VN_SAMPLE_DIR) + "/sample.xml");
    grid->LoadXMLDoc();
    grid->setRootChildTagName("stock");
    ASSERT_TRUE(grid->LoadXMLRootChild(true));
    EXPECT_EQ(grid->Rows(), 6);
    EXPECT_EQ(row0(*grid), (std::vector<std::string>{"id", "unit", "name", "qty", "price"}));
    EXPECT_EQ(grid->TextMatrix(4, 2), "Stapler & staples");
}

}  // namespace
}  // namespace vantrel::test
