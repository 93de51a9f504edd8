// Rebuilding the grid from a recordset reached only by member name, so that any object answering
// Fields, Count, Name, Value, EOF, bof, MoveFirst and MoveNext can be loaded.
#include "grid/exchange/exchange.h"
#include "grid/frame/inner_grid_guards.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/automation/object.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {

namespace {

// A value joined with the empty text: Null and Empty give "", anything else its automation text.
std::string joinedText(const ax::Variant& value) {
    if (value.isEmpty() || value.isNull()) return std::string();
    return ax::cStr(value);
}

bool truth(const ax::Variant& value) { return ax::cBool(value); }

// The object a member answered; Nothing is an error here, as using it would be.
ax::Object& objectOf(const ax::Variant& value) {
    const std::shared_ptr<ax::Object>& object = value.object();
    if (!object) ax::raise(ax::err::ObjectRequired);
    return *object;
}

}  // namespace

bool IsObjectSet(const ax::Variant& reference) noexcept {
    try {
        return reference.isObject() && reference.object() != nullptr;
    } catch (...) {
        return false;
    }
}

bool Vantrel::LoadRecordset(const ax::Variant& rec) {
    if (inTransaction_) return false;
    RedrawOff quiet(*FlexGrid_);  // from the first change on, so the whole load paints once
    setFixedRows(1);
    setFixedCols(0);
    suppressBindingReset_ = false;
    setRows(2);
    // A grid that had no rows could not take the fixed row before it had two.
    if (FlexGrid_->FixedRows() != 1) setFixedRows(1);
    ResetXMLBinding();
    suppressBindingReset_ = true;
    FlexGrid_->Clear();
    std::shared_ptr<ax::Object> source;
    bool complete = true;
    if (IsObjectSet(rec)) {
        source = rec.object();
        complete = fillFromRecordset(*source);
    }
    boundSource_ = source;
    suppressBindingReset_ = false;
    // A walk cut short keeps what it filled, but the caller must not take part of the records for all.
    return complete;
}

bool Vantrel::fillFromRecordset(ax::Object& rec) {
    ax::FlexGrid& g = *FlexGrid_;
    RedrawOff quiet(g);
    // Whatever the recordset raises ends the walk; the rows filled so far stay.
    try {
        setFixedRows(1);
        setFixedCols(0);
        setRows(1);
        const int32_t count = ax::cLng(ax::getProperty(objectOf(ax::getProperty(rec, "Fields")), "Count"));
        setCols(count);
        if (g.Cols() != count) return false;  // more fields than the grid has columns for
        // rec.Fields(i), asked again for every value, so that a source handing out snapshots works too.
        // The argument lists are kept from call to call: a value costs no list of its own.
        std::vector<ax::Variant> index(1), noArguments;
        auto fieldMember = [&](int32_t i, std::string_view member) {
            index.resize(1);  // a callee may have changed the list it was given
            index[0] = ax::Variant(i);
            const ax::Variant field = rec.Invoke("Fields", ax::InvokeKind::PropertyGet, index);
            noArguments.clear();
            return objectOf(field).Invoke(member, ax::InvokeKind::PropertyGet, noArguments);
        };
        // A text goes to the cell as it is; anything else is joined with "" first. The grid's shape is
        // taken once per row; the inner grid still checks every cell it is given.
        ax::GridShape shape = g.shape();
        auto write = [&](int32_t r, int32_t i, const ax::Variant& value) {
            if (const std::string* text = value.get<std::string>())
                setCellTextWithin(shape, r, i, *text);
            else
                setCellTextWithin(shape, r, i, joinedText(value));
        };
        for (int32_t i = 0; i < count; ++i) write(0, i, fieldMember(i, "Name"));
        if (truth(ax::getProperty(rec, "EOF")) || truth(ax::getProperty(rec, "bof"))) return true;
        ax::callMethod(rec, "MoveFirst");
        bool allRecords = true;
        while (!truth(ax::getProperty(rec, "EOF"))) {
            const int32_t r = g.Rows();
            setRows(r + 1);
            if (g.Rows() != r + 1) {  // the grid holds no more rows: the rest is left out
                allRecords = false;
                break;
            }
            shape = g.shape();
            for (int32_t i = 0; i < count; ++i) write(r, i, fieldMember(i, "Value"));
            ax::callMethod(rec, "MoveNext");
        }
        g.setRow(g.FixedRows());
        g.setCol(g.FixedCols());
        return allRecords;
    } catch (...) {
        return false;
    }
}

}  // namespace vantrel
