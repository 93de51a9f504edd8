#include "platform/recordset/recordset.h"

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"

namespace ax {

namespace {

// Case-insensitive comparison with a literal of lower-case letters, without building a string or
// calling into the locale: the grid calls Value and MoveNext millions of times on a large recordset.
bool is(std::string_view name, std::string_view lowerLetters) {
    if (name.size() != lowerLetters.size()) return false;
    for (size_t i = 0; i < name.size(); ++i)
        if ((static_cast<unsigned char>(name[i]) | 0x20) != static_cast<unsigned char>(lowerLetters[i]))
            return false;
    return true;
}

bool readsAs(InvokeKind kind) { return kind == InvokeKind::PropertyGet || kind == InvokeKind::Method; }

[[noreturn]] void noCurrentRecord() {
    raise(recerr::NoCurrentRecord,
          "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a "
          "current record.");
}

[[noreturn]] void itemNotFound() {
    raise(recerr::ItemNotFound,
          "Item cannot be found in the collection corresponding to the requested name or ordinal.");
}

}  // namespace

// --- Field ---------------------------------------------------------------------------------------

const Variant& Field::Value() const {
    if (rows_->atEnd() || rows_->atStart()) noCurrentRecord();
    return rows_->value(index_);
}

Variant Field::Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) {
    // Value is the default member: an empty name reads it too.
    if (readsAs(kind) && args.empty() && (name.empty() || is(name, "value"))) {
        if (rows_->atEnd() || rows_->atStart()) noCurrentRecord();
        return rows_->copyOfValue(index_);
    }
    return dispatchTable().invoke(*this, name, kind, args);
}

const DispatchTable<Field>& Field::dispatchTable() {
    static const auto table = DispatchTable<Field>()
                                  .get("Name",
                                       [](Field& f, std::vector<Variant>& a) -> Variant {
                                           if (!a.empty()) raise(err::WrongArgumentCount);
                                           return f.Name();
                                       })
                                  .get("Value",
                                       [](Field& f, std::vector<Variant>& a) -> Variant {
                                           if (!a.empty()) raise(err::WrongArgumentCount);
                                           return f.Value();
                                       })
                                  .get("Index", &Field::Index)
                                  .defaultMember("Value");
    return table;
}

// --- Fields --------------------------------------------------------------------------------------

Fields::Fields(std::shared_ptr<RowSource> rows) : rows_(std::move(rows)) { sync(); }

void Fields::sync() const {
    const auto n = static_cast<size_t>(rows_->fieldCount());
    while (items_.size() < n)
        items_.push_back(std::make_shared<Field>(rows_, static_cast<int32_t>(items_.size())));
}

int32_t Fields::Count() const {
    sync();
    return static_cast<int32_t>(items_.size());
}

const std::shared_ptr<Field>& Fields::at(int32_t index) const {
    // Only an index beyond the fields known so far can concern a field added since.
    if (index >= 0 && static_cast<size_t>(index) >= items_.size()) sync();
    if (index < 0 || static_cast<size_t>(index) >= items_.size()) itemNotFound();
    return items_[static_cast<size_t>(index)];
}

const std::shared_ptr<Field>& Fields::Item(const Variant& indexOrName) const {
    if (const int32_t* index = indexOrName.get<int32_t>()) return at(*index);
    if (const auto* name = indexOrName.get<std::string>(); name && !readsAsNumber(*name)) {
        sync();
        for (const auto& f : items_)
            if (f->Name().size() == name->size() && detail::lowerName(f->Name()) == detail::lowerName(*name))
                return f;
        itemNotFound();
    }
    if (indexOrName.isEmpty() || indexOrName.isNull() || indexOrName.isObject()) itemNotFound();
    return at(cLng(indexOrName));
}

Variant Fields::Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) {
    if (readsAs(kind) && args.size() == 1 && (name.empty() || is(name, "item")))
        return Variant(Item(args[0]));
    return dispatchTable().invoke(*this, name, kind, args);
}

const DispatchTable<Fields>& Fields::dispatchTable() {
    static const auto table = DispatchTable<Fields>()
                                  .get("Count", &Fields::Count)
                                  .get("Item", [](Fields& f, std::vector<Variant>& a) -> Variant {
                                      if (a.size() != 1) raise(err::WrongArgumentCount);
                                      return Variant(f.Item(a[0]));
                                  })
                                  .defaultMember("Item");
    return table;
}

// --- Recordset -----------------------------------------------------------------------------------

Recordset::Recordset(std::shared_ptr<RowSource> rows)
    : rows_(std::move(rows)), fields_(std::make_shared<Fields>(rows_)) {}

void Recordset::MoveNext() {
    if (rows_->atEnd()) noCurrentRecord();
    rows_->moveNext();
}

void Recordset::MovePrevious() {
    if (rows_->atStart()) noCurrentRecord();
    rows_->movePrevious();
}

Variant Recordset::Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) {
    // The names a recordset walk uses for every record, answered before the general table.
    if (readsAs(kind)) {
        if (is(name, "fields")) {
            if (args.empty()) return Variant(fields_);
            if (args.size() == 1) return Variant(fields_->Item(args[0]));
            raise(err::WrongArgumentCount);
        }
        if (args.empty()) {
            if (is(name, "eof")) return Variant(Eof());
            if (is(name, "movenext")) {
                MoveNext();
                return Variant();
            }
            if (is(name, "bof")) return Variant(Bof());
        }
    }
    return dispatchTable().invoke(*this, name, kind, args);
}

const DispatchTable<Recordset>& Recordset::dispatchTable() {
    static const auto table = DispatchTable<Recordset>()
                                  .get("Fields",
                                       [](Recordset& r, std::vector<Variant>& a) -> Variant {
                                           if (a.empty()) return Variant(r.getFields());
                                           if (a.size() == 1) return Variant(r.getFields()->Item(a[0]));
                                           raise(err::WrongArgumentCount);
                                       })
                                  .get("EOF", &Recordset::Eof)
                                  .get("BOF", &Recordset::Bof)
                                  .method("MoveFirst", &Recordset::MoveFirst)
                                  .method("MoveNext", &Recordset::MoveNext)
                                  .method("MovePrevious", &Recordset::MovePrevious)
                                  .method("MoveLast", &Recordset::MoveLast)
                                  .get("RecordCount", &Recordset::RecordCount)
                                  .get("AbsolutePosition", &Recordset::AbsolutePosition)
                                  .defaultMember("Fields");
    return table;
}

// --- MemoryRecordset -----------------------------------------------------------------------------

class MemoryRecordset::Rows : public RowSource {
  public:
    std::vector<std::string> names;
    std::vector<std::vector<Variant>> records;
    // Index of the current record; -1 is before the first, records.size() after the last.
    int64_t cursor = 0;

    int32_t fieldCount() const override { return static_cast<int32_t>(names.size()); }
    const std::string& fieldName(int32_t i) const override { return names.at(static_cast<size_t>(i)); }
    const Variant& value(int32_t i) const override {
        return records[static_cast<size_t>(cursor)][static_cast<size_t>(i)];
    }
    bool atEnd() const override { return records.empty() || cursor >= static_cast<int64_t>(records.size()); }
    bool atStart() const override { return records.empty() || cursor < 0; }
    void moveFirst() override { cursor = 0; }
    void moveNext() override {
        if (cursor < static_cast<int64_t>(records.size())) ++cursor;
    }
    void movePrevious() override {
        if (cursor >= 0) --cursor;
    }
    void moveLast() override { cursor = records.empty() ? 0 : static_cast<int64_t>(records.size()) - 1; }
    int32_t recordCount() override { return static_cast<int32_t>(records.size()); }
    int32_t position() const override { return atEnd() || atStart() ? 0 : static_cast<int32_t>(cursor + 1); }
};

MemoryRecordset::MemoryRecordset() : MemoryRecordset(std::make_shared<Rows>()) {}

MemoryRecordset::MemoryRecordset(std::vector<std::string> fieldNames) : MemoryRecordset() {
    for (auto& n : fieldNames) addField(std::move(n));
}

MemoryRecordset::MemoryRecordset(std::shared_ptr<Rows> rows) : Recordset(rows), memory_(std::move(rows)) {}

void MemoryRecordset::addField(std::string name) {
    if (!memory_->records.empty())
        raise(err::InvalidProcedureCall, "Fields cannot be added once rows exist.");
    memory_->names.push_back(std::move(name));
}

void MemoryRecordset::addRow(std::vector<Variant> values) {
    if (values.size() > memory_->names.size())
        raise(err::InvalidProcedureCall, "The row has more values than fields.");
    values.resize(memory_->names.size(), Variant(Null{}));
    memory_->records.push_back(std::move(values));
}

}  // namespace ax
