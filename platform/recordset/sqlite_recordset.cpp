// The SQLite row source: a prepared statement stepped as the cursor moves. Only the current record
// is held, read from the statement field by field as it is asked for, in Variants whose string
// buffers are reused from row to row.
#include <sqlite3.h>

#include <climits>

#include "platform/automation/errors.h"
#include "platform/recordset/recordset.h"

namespace ax {

namespace {

[[noreturn]] void providerError(sqlite3* db, const std::string& what) {
    std::string message = what;
    if (db) {
        message += ": ";
        message += sqlite3_errmsg(db);
    }
    raise(recerr::ProviderError, std::move(message));
}

class SqliteRows : public RowSource {
  public:
    SqliteRows(const std::string& path, const std::string& sql) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) !=
            SQLITE_OK) {
            std::string message = "Cannot open the database '" + path + "'";
            if (db_) message += std::string(": ") + sqlite3_errmsg(db_);
            sqlite3_close(db_);
            db_ = nullptr;
            raise(recerr::ProviderError, std::move(message));
        }
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt_, &tail) != SQLITE_OK ||
            !stmt_) {
            std::string message = stmt_ ? "" : std::string("The query is empty");
            if (!stmt_ && sqlite3_errcode(db_) != SQLITE_OK) message = sqlite3_errmsg(db_);
            close();
            raise(recerr::ProviderError, "The query cannot be run: " + message);
        }
        const int n = sqlite3_column_count(stmt_);
        names_.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            const char* name = sqlite3_column_name(stmt_, i);
            names_.emplace_back(name ? name : "");
        }
        row_.resize(static_cast<size_t>(n));
        readAt_.assign(static_cast<size_t>(n), 0);
        try {
            start();
        } catch (...) {
            close();
            throw;
        }
    }
    ~SqliteRows() override { close(); }
    SqliteRows(const SqliteRows&) = delete;
    SqliteRows& operator=(const SqliteRows&) = delete;

    int32_t fieldCount() const override { return static_cast<int32_t>(names_.size()); }
    const std::string& fieldName(int32_t i) const override { return names_.at(static_cast<size_t>(i)); }
    const Variant& value(int32_t i) const override {
        const auto f = static_cast<size_t>(i);
        if (live_ && readAt_[f] != stamp_) {
            readColumn(i, row_[f]);
            readAt_[f] = stamp_;
        }
        return row_[f];
    }
    // A value nobody has read yet goes straight from the statement to the caller.
    Variant copyOfValue(int32_t i) const override {
        const auto f = static_cast<size_t>(i);
        return live_ && readAt_[f] != stamp_ ? columnValue(i) : row_[f];
    }
    bool atEnd() const override { return empty_ || position_ > count_; }
    bool atStart() const override { return empty_ || position_ == 0; }

    void moveFirst() override {
        if (empty_ || position_ == 1) return;
        start();
    }
    void moveNext() override {
        if (atEnd()) return;
        if (done_) {  // on the last record after MoveLast: the statement has nothing more to give
            position_ = count_ + 1;
            return;
        }
        step();
    }
    void movePrevious() override {
        if (atStart()) return;
        const int64_t target = position_ - 1;
        if (target == 0) {
            position_ = 0;
            return;
        }
        start();
        while (position_ < target) step();
    }
    void moveLast() override {
        if (empty_) return;
        if (atEnd()) start();
        // Step to the end, keeping each record until the next one proves it was not the last.
        readAll();
        std::vector<Variant> last = row_;
        int64_t lastPosition = position_;
        while (true) {
            step();
            if (done_ && position_ > count_) break;
            readAll();
            last = row_;
            lastPosition = position_;
        }
        // The statement has gone past it: the record kept is the one answered from now on.
        row_ = std::move(last);
        position_ = lastPosition;
    }
    int32_t recordCount() override {
        if (!counted_) {
            // Counted with a second statement so the cursor of the first is left where it is.
            sqlite3_stmt* counter = nullptr;
            if (sqlite3_prepare_v2(db_, sqlite3_sql(stmt_), -1, &counter, nullptr) != SQLITE_OK)
                providerError(db_, "The records cannot be counted");
            int64_t n = 0;
            int rc;
            while ((rc = sqlite3_step(counter)) == SQLITE_ROW) ++n;
            sqlite3_finalize(counter);
            if (rc != SQLITE_DONE) providerError(db_, "The records cannot be counted");
            total_ = n;
            counted_ = true;
        }
        return total_ > INT32_MAX ? INT32_MAX : static_cast<int32_t>(total_);
    }
    int32_t position() const override {
        return atEnd() || atStart() || position_ > INT32_MAX ? 0 : static_cast<int32_t>(position_);
    }

  private:
    void close() {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        sqlite3_close(db_);
        db_ = nullptr;
    }

    // Runs the query again and stands on its first record.
    void start() {
        sqlite3_reset(stmt_);
        position_ = 0;
        count_ = 0;
        done_ = false;
        step();
        empty_ = done_;
    }

    // Reads the next record into row_; past the last one, position_ goes one beyond the count.
    void step() {
        live_ = false;
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) {
            ++position_;
            if (position_ > count_) count_ = position_;
            live_ = true;
            ++stamp_;  // every field of row_ is now out of date
            return;
        }
        if (rc == SQLITE_DONE) {
            done_ = true;
            count_ = position_;
            ++position_;
            if (!counted_) {
                total_ = count_;
                counted_ = true;
            }
            return;
        }
        // The query failed under the cursor (an overflow, a function raising an error): the walk is
        // over, with no current record, so a caller that goes on never sees the query start again.
        done_ = true;
        count_ = position_;
        ++position_;
        providerError(db_, "Reading the next record failed");
    }

    void readAll() const {
        for (int32_t i = 0; i < fieldCount(); ++i) value(i);
    }

    // A field of the record the statement stands on, read through the column's value object: one
    // statement lookup per value. The connection has no mutex, so the value needs no guard.
    Variant columnValue(int32_t i) const {
        sqlite3_value* v = sqlite3_column_value(stmt_, i);
        switch (sqlite3_value_type(v)) {
            case SQLITE_INTEGER: {
                const sqlite3_int64 number = sqlite3_value_int64(v);
                if (number >= INT32_MIN && number <= INT32_MAX) return Variant(static_cast<int32_t>(number));
                return Variant(static_cast<double>(number));
            }
            case SQLITE_FLOAT:
                return Variant(sqlite3_value_double(v));
            case SQLITE_NULL:
                return Variant(Null{});
            default:
                return Variant(std::string(bytesOf(v)));
        }
    }

    // Text and blobs: the bytes as they are.
    static std::string_view bytesOf(sqlite3_value* v) {
        const void* p = sqlite3_value_type(v) == SQLITE_BLOB ? sqlite3_value_blob(v) : sqlite3_value_text(v);
        const auto size = static_cast<size_t>(sqlite3_value_bytes(v));
        return p ? std::string_view(static_cast<const char*>(p), size) : std::string_view();
    }

    // Like columnValue, but a text lands in the buffer the cell already has.
    void readColumn(int32_t i, Variant& cell) const {
        sqlite3_value* v = sqlite3_column_value(stmt_, i);
        const int type = sqlite3_value_type(v);
        std::string* text = cell.get<std::string>();
        if (text && (type == SQLITE_TEXT || type == SQLITE_BLOB))
            text->assign(bytesOf(v));
        else
            cell = columnValue(i);
    }

    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    std::vector<std::string> names_;
    mutable std::vector<Variant> row_;
    mutable std::vector<uint64_t> readAt_;  // the stamp of the record each field of row_ was read from
    uint64_t stamp_ = 0;                    // counts the records the statement has stood on
    bool live_ = false;                     // the statement stands on the current record
    int64_t position_ = 0;                  // 1-based number of the record in row_; 0 before the first
    int64_t count_ = 0;                     // records seen in this run of the query
    bool done_ = false;                     // this run has reached the end
    bool empty_ = true;                     // the query gives no records
    bool counted_ = false;
    int64_t total_ = 0;
};

}  // namespace

std::shared_ptr<Recordset> openSqliteRecordset(const std::string& dbPath, const std::string& sql) {
    return std::make_shared<Recordset>(std::make_shared<SqliteRows>(dbPath, sql));
}

}  // namespace ax
