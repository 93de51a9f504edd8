#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/automation/errors.h"
#include "platform/recordset/recordset.h"
#include "tests/support/error_of.h"

namespace {

using ax::Variant;
namespace fs = std::filesystem;

class TempDb {
  public:
    explicit TempDb(const std::string& script) {
        dir_ = fs::temp_directory_path() /
               ("vn_rs_" + std::to_string(::getpid()) + "_" + std::to_string(counter_++));
        fs::create_directories(dir_);
        path_ = (dir_ / "data.db").string();
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error), SQLITE_OK)
            << (error ? error : "");
        sqlite3_free(error);
        sqlite3_close(db);
    }
    ~TempDb() { fs::remove_all(dir_); }
    const std::string& path() const { return path_; }

  private:
    static inline int counter_ = 0;
    fs::path dir_;
    std::string path_;
};

// What a late-bound consumer sees: headings from Fields(i).Name, then one row per record, each value
// joined with an empty string (Null gives ""), walked with EOF/bof/MoveFirst/MoveNext by name only.
std::vector<std::vector<std::string>> walkByName(ax::Object& rec) {
    std::vector<std::vector<std::string>> out;
    auto fields = ax::getProperty(rec, "fields").object();
    const int32_t count = ax::getProperty(*fields, "COUNT").toLong();
    std::vector<std::string> heading;
    for (int32_t i = 0; i < count; ++i) {
        auto field = ax::getProperty(*fields, "Item", {Variant(i)}).object();
        heading.push_back(ax::getProperty(*field, "Name").toString());
    }
    out.push_back(heading);
    if (ax::getProperty(rec, "eof").toBoolean() || ax::getProperty(rec, "BOF").toBoolean()) return out;
    ax::callMethod(rec, "movefirst");
    while (!ax::getProperty(rec, "EOF").toBoolean()) {
        std::vector<std::string> row;
        for (int32_t i = 0; i < count; ++i) {
            // Fields(i) with the index as an argument gives the field directly.
            auto field = ax::getProperty(rec, "Fields", {Variant(i)}).object();
            const Variant v = ax::getProperty(*field, "Value");
            row.push_back(v.isNull() ? std::string() : v.toString());
        }
        out.push_back(row);
        ax::callMethod(rec, "MoveNext");
    }
    return out;
}

using testsupport::errorOf;

const char* kPeople =
    "CREATE TABLE people(id INTEGER, name TEXT, score REAL, note TEXT, big INTEGER, raw BLOB);"
    "INSERT INTO people VALUES(1, 'Ann', 12.5, NULL, 5000000000, x'00414200');"
    "INSERT INTO people VALUES(2, 'Bö', -3.0, 'second', -7, NULL);"
    "INSERT INTO people VALUES(3, '', NULL, 'third', NULL, x'');";

TEST(SqliteRecordset, ValuesKeepTheirKindsAndNullsStayNull) {
    TempDb db(kPeople);
    auto rec =
        ax::openSqliteRecordset(db.path(), "SELECT id, name, score, note, big, raw FROM people ORDER BY id");
    ASSERT_FALSE(rec->Eof());
    ASSERT_FALSE(rec->Bof());
    const auto& f = rec->getFields();
    ASSERT_EQ(f->Count(), 6);
    EXPECT_EQ(f->at(0)->Value().type(), ax::VarType::Long);
    EXPECT_EQ(*f->at(0)->Value().get<int32_t>(), 1);
    EXPECT_EQ(*f->at(1)->Value().get<std::string>(), "Ann");
    EXPECT_EQ(*f->at(2)->Value().get<double>(), 12.5);
    EXPECT_TRUE(f->at(3)->Value().isNull());
    // Too big for a Long: a Double with the exact value.
    EXPECT_EQ(f->at(4)->Value().type(), ax::VarType::Double);
    EXPECT_EQ(*f->at(4)->Value().get<double>(), 5000000000.0);
    // Blob bytes, embedded zero bytes included.
    EXPECT_EQ(*f->at(5)->Value().get<std::string>(), std::string("\0AB\0", 4));

    rec->MoveNext();
    EXPECT_EQ(*f->at(1)->Value().get<std::string>(), "Bö");
    EXPECT_TRUE(f->at(5)->Value().isNull());
    EXPECT_EQ(*f->at(4)->Value().get<int32_t>(), -7);
    rec->MoveNext();
    EXPECT_EQ(*f->at(1)->Value().get<std::string>(), "");
    EXPECT_TRUE(f->at(2)->Value().isNull());
    rec->MoveNext();
    EXPECT_TRUE(rec->Eof());
    EXPECT_FALSE(rec->Bof());
    EXPECT_EQ(errorOf([&] { f->at(0)->Value(); }), ax::recerr::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rec->MoveNext(); }), ax::recerr::NoCurrentRecord);
}

// A value read by name before anything else read it comes straight from the query; read again, or
// through the typed member, it comes from the record kept. Both must be the same value of the same kind.
TEST(SqliteRecordset, ValueByNameAndTypedValueAgreeOnEveryRecord) {
    TempDb db(kPeople);
    auto rec =
        ax::openSqliteRecordset(db.path(), "SELECT id, name, score, note, big, raw FROM people ORDER BY id");
    const auto& f = rec->getFields();
    auto check = [&](int record) {
        for (int32_t i = 0; i < 6; ++i) {
            auto field = ax::getProperty(*rec, "Fields", {Variant(i)}).object();
            const Variant byName = ax::getProperty(*field, "Value");
            const Variant typed = f->at(i)->Value();
            const Variant again = ax::getProperty(*field, "Value");
            EXPECT_EQ(byName.type(), typed.type()) << record << ":" << i;
            EXPECT_EQ(again.type(), typed.type()) << record << ":" << i;
            if (!typed.isNull()) {
                EXPECT_EQ(byName.toString(), typed.toString()) << record << ":" << i;
                EXPECT_EQ(again.toString(), typed.toString()) << record << ":" << i;
            }
        }
    };
    for (int record = 1; !rec->Eof(); ++record, rec->MoveNext()) check(record);
    rec->MoveLast();  // the statement has run past the last record: its kept copy answers
    check(3);
    EXPECT_EQ(*ax::getProperty(*rec->getFields()->at(5), "Value").get<std::string>(), std::string());
    rec->MovePrevious();
    check(2);
    EXPECT_EQ(ax::getProperty(*rec->getFields()->at(1), "Value").toString(), "Bö");
}

TEST(SqliteRecordset, LateBoundWalkSeesEveryRecordWithNullAsEmptyText) {
    TempDb db(kPeople);
    auto rec = ax::openSqliteRecordset(db.path(), "SELECT id, name, note FROM people ORDER BY id");
    const auto rows = walkByName(*rec);
    const std::vector<std::vector<std::string>> expected = {
        {"id", "name", "note"}, {"1", "Ann", ""}, {"2", "Bö", "second"}, {"3", "", "third"}};
    EXPECT_EQ(rows, expected);
    // At EOF a walk sees no records; after MoveFirst the query runs again from its first record.
    EXPECT_EQ(walkByName(*rec).size(), 1u);
    ax::callMethod(*rec, "MoveFirst");
    EXPECT_EQ(walkByName(*rec), expected);
}

TEST(SqliteRecordset, EmptyResultHasFieldNamesAndNoRecords) {
    TempDb db(kPeople);
    auto rec = ax::openSqliteRecordset(db.path(), "SELECT id AS Key, name FROM people WHERE id > 100");
    EXPECT_TRUE(rec->Eof());
    EXPECT_TRUE(rec->Bof());
    EXPECT_EQ(rec->RecordCount(), 0);
    const auto rows = walkByName(*rec);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Key", "name"}));
    EXPECT_EQ(errorOf([&] { rec->MoveNext(); }), ax::recerr::NoCurrentRecord);
    rec->MoveFirst();  // harmless on an empty result
    EXPECT_TRUE(rec->Eof());
}

TEST(SqliteRecordset, CursorMovesBothWaysAndCountsWithoutLosingItsPlace) {
    TempDb db("CREATE TABLE t(v INTEGER); INSERT INTO t VALUES(10),(20),(30),(40);");
    auto rec = ax::openSqliteRecordset(db.path(), "SELECT v FROM t ORDER BY v");
    auto value = [&] { return rec->getFields()->at(0)->Value().toLong(); };
    rec->MoveNext();
    EXPECT_EQ(value(), 20);
    EXPECT_EQ(rec->RecordCount(), 4);
    EXPECT_EQ(value(), 20);  // counting did not move the cursor
    EXPECT_EQ(rec->AbsolutePosition(), 2);
    rec->MoveLast();
    EXPECT_EQ(value(), 40);
    EXPECT_EQ(rec->AbsolutePosition(), 4);
    rec->MovePrevious();
    EXPECT_EQ(value(), 30);
    rec->MoveNext();
    rec->MoveNext();
    EXPECT_TRUE(rec->Eof());
    rec->MoveLast();
    rec->MoveNext();
    EXPECT_TRUE(rec->Eof());
    rec->MoveFirst();
    EXPECT_EQ(value(), 10);
    rec->MovePrevious();
    EXPECT_TRUE(rec->Bof());
    EXPECT_FALSE(rec->Eof());
    EXPECT_EQ(errorOf([&] { rec->MovePrevious(); }), ax::recerr::NoCurrentRecord);
}

TEST(SqliteRecordset, BadDatabaseQueryOrMemberIsAClearError) {
    TempDb db(kPeople);
    const std::string missing = db.path() + ".missing";
    EXPECT_EQ(errorOf([&] { ax::openSqliteRecordset(missing, "SELECT 1"); }), ax::recerr::ProviderError);
    EXPECT_FALSE(std::filesystem::exists(missing));  // opening never creates a database
    EXPECT_EQ(errorOf([&] { ax::openSqliteRecordset(db.path(), "SELECT nope FROM people"); }),
              ax::recerr::ProviderError);
    EXPECT_EQ(errorOf([&] { ax::openSqliteRecordset(db.path(), "   "); }), ax::recerr::ProviderError);
    // Read-only: a statement that writes fails instead of changing the file.
    EXPECT_EQ(errorOf([&] { ax::openSqliteRecordset(db.path(), "DELETE FROM people"); }),
              ax::recerr::ProviderError);
    EXPECT_EQ(walkByName(*ax::openSqliteRecordset(db.path(), "SELECT count(*) AS n FROM people"))[1][0], "3");

    auto rec = ax::openSqliteRecordset(db.path(), "SELECT id, name FROM people");
    auto fields = rec->getFields();
    EXPECT_EQ(errorOf([&] { fields->at(2); }), ax::recerr::ItemNotFound);
    EXPECT_EQ(errorOf([&] { ax::getProperty(*fields, "Item", {Variant(int32_t(-1))}); }),
              ax::recerr::ItemNotFound);
    EXPECT_EQ(errorOf([&] { ax::getProperty(*fields, "Item", {Variant("missing")}); }),
              ax::recerr::ItemNotFound);
    auto byName = ax::getProperty(*fields, "Item", {Variant("NAME")}).object();
    EXPECT_EQ(ax::getProperty(*byName, "name").toString(), "name");
    EXPECT_EQ(errorOf([&] { ax::getProperty(*rec, "Bookmark"); }), ax::err::MemberNotFound);
    EXPECT_TRUE(rec->HasMember("recordcount", ax::InvokeKind::PropertyGet));
}

// A query that fails at its third record: abs() of the smallest 64-bit number overflows.
constexpr const char* kFailsAtThird =
    "SELECT id, CASE WHEN id = 3 THEN abs(-9223372036854775807 - 1) ELSE id "
    "END AS v FROM t";

TEST(SqliteRecordset, AQueryFailingUnderTheCursorRaisesFromTheMoveAndEndsTheWalk) {
    TempDb db(
        "CREATE TABLE t(id INTEGER PRIMARY KEY);"
        "INSERT INTO t VALUES(1),(2),(3),(4),(5);");
    auto rec = ax::openSqliteRecordset(db.path(), kFailsAtThird);
    ax::callMethod(*rec, "MoveNext");
    EXPECT_EQ(rec->getFields()->at(1)->Value(), Variant(int32_t(2)));
    try {
        ax::callMethod(*rec, "MoveNext");
        ADD_FAILURE() << "the failing record was stepped over";
    } catch (const ax::AutomationError& e) {
        EXPECT_EQ(e.number(), ax::recerr::ProviderError);
        EXPECT_NE(e.description().find("integer overflow"), std::string::npos) << e.description();
    }
    // No record is current and the walk is over: going on never starts the query again.
    EXPECT_TRUE(ax::getProperty(*rec, "EOF").toBoolean());
    EXPECT_EQ(errorOf([&] { rec->getFields()->at(0)->Value(); }), ax::recerr::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rec->MoveNext(); }), ax::recerr::NoCurrentRecord);
    // A fresh walk meets the same failure at the same place.
    rec->MoveFirst();
    EXPECT_EQ(rec->getFields()->at(0)->Value(), Variant(int32_t(1)));
    rec->MoveNext();
    EXPECT_EQ(errorOf([&] { rec->MoveNext(); }), ax::recerr::ProviderError);
    EXPECT_EQ(errorOf([&] { rec->RecordCount(); }), ax::recerr::ProviderError);
}

TEST(MemoryRecordset, HostBuiltRowsWalkLikeADatabaseResult) {
    auto rec = std::make_shared<ax::MemoryRecordset>(std::vector<std::string>{"Code", "Label"});
    EXPECT_TRUE(rec->Eof());
    EXPECT_TRUE(rec->Bof());
    rec->addRow({Variant("A1"), Variant("first")});
    rec->addRow({Variant(int32_t(7)), Variant(ax::Null{})});
    rec->addRow({Variant(2.5)});  // short row: padded with Null
    EXPECT_FALSE(rec->Eof());
    EXPECT_EQ(rec->RecordCount(), 3);
    const auto rows = walkByName(*rec);
    const std::vector<std::vector<std::string>> expected = {
        {"Code", "Label"}, {"A1", "first"}, {"7", ""}, {"2.5", ""}};
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(errorOf([&] { rec->addField("Late"); }), ax::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] {
                  rec->addRow({Variant(1), Variant(2), Variant(3)});
              }),
              ax::err::InvalidProcedureCall);

    rec->MoveLast();
    EXPECT_EQ(rec->getFields()->at(0)->Value().toDouble(), 2.5);
    rec->MovePrevious();
    EXPECT_EQ(rec->AbsolutePosition(), 2);

    // Fields added before any row are visible through a Fields object taken earlier.
    ax::MemoryRecordset later;
    auto fields = later.getFields();
    later.addField("X");
    EXPECT_EQ(fields->Count(), 1);
}

}  // namespace
