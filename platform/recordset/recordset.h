// Late-bound recordsets: the object a host hands to LoadRecordset. Callers reach it only by member
// name ("Fields", "Count", "Item", "Name", "Value", "EOF", "BOF", "MoveFirst", "MoveNext", ...), so
// any object answering those names works the same; these two are the ones the platform offers.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/object.h"
#include "platform/automation/variant.h"
#include "platform/runtime/dispatch.h"

namespace ax {

// Numbers a recordset raises beside the common table: the cursor is before the first or after the
// last record, and a field index or name that does not exist.
namespace recerr {
inline constexpr int32_t NoCurrentRecord = 3021;
inline constexpr int32_t ItemNotFound = 3265;
inline constexpr int32_t ProviderError = 3709;  // the database refused the query or failed under it
}  // namespace recerr

// The rows behind a recordset: a cursor over records of a fixed list of fields.
class RowSource {
  public:
    virtual ~RowSource() = default;
    virtual int32_t fieldCount() const = 0;
    virtual const std::string& fieldName(int32_t index) const = 0;
    // The value of a field of the current record; only called while a record is current.
    virtual const Variant& value(int32_t index) const = 0;
    // The same value as a copy of its own; a source that has to build the value anyway hands it over.
    virtual Variant copyOfValue(int32_t index) const { return value(index); }
    virtual bool atEnd() const = 0;    // after the last record (or no records)
    virtual bool atStart() const = 0;  // before the first record (or no records)
    virtual void moveFirst() = 0;
    virtual void moveNext() = 0;
    virtual void movePrevious() = 0;
    virtual void moveLast() = 0;
    virtual int32_t recordCount() = 0;
    virtual int32_t position() const = 0;  // 1-based number of the current record; 0 when none
};

class Recordset;

// One field of a recordset; it reads the current record, so a caller may keep it across moves.
class Field : public Object {
  public:
    Field(std::shared_ptr<RowSource> rows, int32_t index) : rows_(std::move(rows)), index_(index) {}

    const std::string& Name() const { return rows_->fieldName(index_); }
    const Variant& Value() const;  // raises 3021 when no record is current
    int32_t Index() const { return index_; }

    Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;
    AX_DECLARE_DISPATCH_IDS(Field);

  private:
    std::shared_ptr<RowSource> rows_;
    int32_t index_;
};

// The fields of a recordset, by zero-based index or by name (case-insensitive).
class Fields : public Object {
  public:
    explicit Fields(std::shared_ptr<RowSource> rows);

    int32_t Count() const;
    const std::shared_ptr<Field>& Item(const Variant& indexOrName) const;  // raises 3265 when absent
    const std::shared_ptr<Field>& at(int32_t index) const;                 // raises 3265 when absent

    Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;
    AX_DECLARE_DISPATCH_IDS(Fields);

  private:
    void sync() const;  // fields added to the source since the last call get their objects

    std::shared_ptr<RowSource> rows_;
    mutable std::vector<std::shared_ptr<Field>> items_;
};

// A recordset: a cursor positioned on its first record when opened (EOF and BOF both true when there
// is none). `Fields` read with an index argument gives that field directly, as a default member would.
class Recordset : public Object {
  public:
    explicit Recordset(std::shared_ptr<RowSource> rows);

    const std::shared_ptr<Fields>& getFields() const { return fields_; }
    bool Eof() const { return rows_->atEnd(); }
    bool Bof() const { return rows_->atStart(); }
    void MoveFirst() { rows_->moveFirst(); }
    void MoveNext();      // raises 3021 at EOF
    void MovePrevious();  // raises 3021 at BOF
    void MoveLast() { rows_->moveLast(); }
    int32_t RecordCount() { return rows_->recordCount(); }
    int32_t AbsolutePosition() const { return rows_->position(); }

    Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;
    AX_DECLARE_DISPATCH_IDS(Recordset);

  protected:
    RowSource& rows() { return *rows_; }

  private:
    std::shared_ptr<RowSource> rows_;
    std::shared_ptr<Fields> fields_;
};

// A recordset over the result of one SQLite query. The database is opened read-only; rows are read
// as the cursor moves, so a large result costs no more memory than one record. MoveFirst and
// MovePrevious run the query again from the start. Values: NULL -> Null, integers -> Long (Double
// when they do not fit 32 bits), reals -> Double, text -> String, blobs -> String of the bytes.
// A database that cannot be opened or a query it refuses raises 3709 with SQLite's message; so does
// a move during which the query fails (an overflow, a function raising), which leaves EOF True.
std::shared_ptr<Recordset> openSqliteRecordset(const std::string& dbPath, const std::string& sql);

// A recordset a host fills itself: declare the fields, then add rows of values. The cursor stays on
// the first record while rows are added; MoveFirst after adding is the usual start of a walk.
class MemoryRecordset : public Recordset {
  public:
    MemoryRecordset();
    explicit MemoryRecordset(std::vector<std::string> fieldNames);

    // Adding a field is refused (error 5) once rows exist, so every row keeps one value per field.
    void addField(std::string name);
    // A row shorter than the field list is padded with Null; a longer one raises 5.
    void addRow(std::vector<Variant> values);

  private:
    class Rows;
    std::shared_ptr<Rows> memory_;
    MemoryRecordset(std::shared_ptr<Rows> rows);
};

}  // namespace ax
