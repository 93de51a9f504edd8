// Filling the grid from the bound document: the rows are the children of the document element
// (root form) or of one container element below it (root-child form); each attribute and child
// element name of the rows becomes a column, in the order the names are first met.
#include <algorithm>
#include <new>

#include "grid/exchange/xml_names.h"
#include "grid/frame/inner_grid_guards.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/errors.h"
#include "platform/flexgrid/flexgrid.h"
#include "platform/xml/dom.h"

namespace vantrel {

namespace {

// Comments and processing instructions carry no cell data: rows and row children skip them.
bool carriesData(ax::xml::NodeType type) {
    return type != ax::xml::NodeType::Comment && type != ax::xml::NodeType::ProcessingInstruction;
}

}  // namespace

bool Vantrel::LoadXMLRootChild(bool UseTagNamesForHeading) {
    if (inTransaction_) return false;
    return loadXMLRows(true, UseTagNamesForHeading);
}

void Vantrel::LoadXMLRoot(bool UseTagNamesForHeading) {
    if (inTransaction_) return;
    loadXMLRows(false, UseTagNamesForHeading);
}

bool Vantrel::loadXMLRows(bool rootChildForm, bool useTagNamesForHeading) {
    ax::FlexGrid& g = *FlexGrid_;
    RedrawOff quiet(g);
    int32_t failure = 0;
    try {
        if (useTagNamesForHeading) setFixedRows(1);
        suppressBindingReset_ = true;
        setFixedCols(0);
        Clear();
        setCols(1);
        setRows(g.FixedRows());
        firstElementPending_ = firstAttributePending_ = true;
        elementColumnCount_ = attributeColumnCount_ = 0;

        const ax::xml::ElementPtr root = xmlnames::documentElementOf(xmlDocument_);
        ax::xml::NodePtr container;
        if (root->hasChildNodes()) {
            if (!rootChildForm)
                container = root;
            else if (!xmlnames::blank(rootChildTagName_) && rootChildTagName_ != root->tagName())
                container = root->selectSingleNode(rootChildTagName_);
        }
        if (!container) {
            // Nothing to load: an empty grid with one data row, ready for the next load.
            setRows(2);
            suppressBindingReset_ = false;
            return false;
        }
        // The first row is the first node that carries data: comments and processing instructions
        // before it are passed over, as they are between rows.
        ax::xml::NodePtr first = container->firstChild();
        while (first && !carriesData(first->nodeType())) first = first->nextSibling();
        if (first) {
            const auto firstRow = std::dynamic_pointer_cast<ax::xml::Element>(first);
            if (!firstRow) ax::raise(ax::err::TypeMismatch);
            rowElementTagName_ = firstRow->tagName();
        }
        std::vector<int32_t> attributeHints, elementHints;
        container->forEachChildElement([&](ax::xml::Element& row) {
            if (!row.hasAttributes() && !row.hasChildNodes()) return;
            const int32_t r = g.Rows();
            setRows(r + 1);
            if (g.Rows() != r + 1) ax::raise(ax::err::Overflow);  // more rows than the grid holds
            loadRowAttributes(row, useTagNamesForHeading, attributeHints);
            loadRowElements(row, useTagNamesForHeading, elementHints);
        });
        suppressBindingReset_ = false;
        return true;
    } catch (const ax::AutomationError& e) {
        failure = e.number();
    } catch (const std::bad_alloc&) {
        failure = ax::err::OutOfMemory;
    } catch (...) {
        failure = ax::err::InvalidProcedureCall;
    }
    // The grid goes back to one empty row and column, and the caller learns the error's number.
    try {
        setRows(2);
        setCols(1);
        Clear();
    } catch (...) {
    }
    suppressBindingReset_ = false;
    ax::raise(failure);
}

void Vantrel::setLoaderCols(int32_t n) {
    // Growing from one column sets the single settings record up afresh; the name the load has just
    // given that column must survive it, or the next row would not find its column.
    const bool single = settings_.size() == 1;
    const ColumnSettings kept = single ? settings_[0] : ColumnSettings{};
    setCols(n);
    if (FlexGrid_->Cols() != n) ax::raise(ax::err::Overflow);  // more columns than the grid holds
    if (single && n > 1) {
        settings_[0].ColAttributeName = kept.ColAttributeName;
        settings_[0].ColElementName = kept.ColElementName;
    }
}

namespace {

// Whether a column's name is exactly the document's name, compared without measuring the latter.
bool sameName(const std::string& columnName, const char* name) {
    const size_t n = columnName.size();
    for (size_t i = 0; i < n; ++i)
        if (name[i] == '\0' || name[i] != columnName[i]) return false;  // a shorter name ends first
    return name[n] == '\0';
}

// The first column whose name (attribute or element, as `field` selects) is exactly `name`. Rows of
// one document mostly give their names in the same order, so the column that the same position
// found in the row before is tried first.
int32_t findColumn(const std::vector<ColumnSettings>& settings, int32_t cols,
                   std::string ColumnSettings::*field, const char* name, std::vector<int32_t>& hints,
                   size_t position) {
    const int32_t n = std::min(cols, static_cast<int32_t>(settings.size()));
    if (position < hints.size()) {
        const int32_t hint = hints[position];
        if (hint >= 0 && hint < n && sameName(settings[static_cast<size_t>(hint)].*field, name)) return hint;
    }
    int32_t found = -1;
    for (int32_t c = 0; c < n && found < 0; ++c)
        if (sameName(settings[static_cast<size_t>(c)].*field, name)) found = c;
    if (position >= hints.size()) hints.resize(position + 1, -1);
    hints[position] = found;
    return found;
}

}  // namespace

void Vantrel::loadRowAttributes(const ax::xml::Element& row, bool useTagNamesForHeading,
                                std::vector<int32_t>& hints) {
    ax::FlexGrid& g = *FlexGrid_;
    const int32_t r = g.Rows() - 1;
    int32_t n = g.Cols();
    size_t position = 0;
    row.forEachAttribute([&](const char* name, const std::string& value) {
        int32_t column = findColumn(settings_, n, &ColumnSettings::ColAttributeName, name, hints, position++);
        if (column < 0) {
            ++attributeColumnCount_;
            // The first new name of a load takes over the grid's starting column, unless the other
            // kind of name already has.
            if (firstAttributePending_) {
                if (elementColumnCount_ > 0) ++n;
                firstAttributePending_ = false;
            } else {
                ++n;
            }
            setLoaderCols(n);
            column = n - 1;
            settingsAt(column).ColAttributeName = name;
            if (useTagNamesForHeading) SetCellText(0, column, name);
        }
        SetCellText(r, column, value);
    });
}

void Vantrel::loadRowElements(const ax::xml::Element& row, bool useTagNamesForHeading,
                              std::vector<int32_t>& hints) {
    ax::FlexGrid& g = *FlexGrid_;
    const int32_t r = g.Rows() - 1;
    int32_t n = g.Cols();
    size_t position = 0;
    row.forEachChild([&](ax::xml::NodeType type, const char* name, const std::string& text) {
        if (!carriesData(type)) return;
        int32_t column = findColumn(settings_, n, &ColumnSettings::ColElementName, name, hints, position++);
        if (column < 0) {
            ++elementColumnCount_;
            if (firstElementPending_) {
                if (attributeColumnCount_ > 0) ++n;
                firstElementPending_ = false;
            } else {
                ++n;
            }
            setLoaderCols(n);
            column = n - 1;
            settingsAt(column).ColElementName = name;
            if (useTagNamesForHeading) SetCellText(0, column, name);
        }
        SetCellText(r, column, text);
    });
}

}  // namespace vantrel
