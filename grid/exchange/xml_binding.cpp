// The XML binding: the names that map the grid onto a document, creating and saving the document,
// and writing the grid back into it. Loading the grid from a document is in xml_loading.cpp.
#include <array>

#include "grid/exchange/exchange.h"
#include "grid/exchange/xml_names.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/errors.h"
#include "platform/flexgrid/flexgrid.h"
#include "platform/xml/dom.h"

namespace vantrel {

bool IsValidXMLName(std::string_view name) noexcept {
    if (name.empty()) return false;
    auto letter = [](char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_'; };
    if (!letter(name.front())) return false;
    for (char ch : name)
        if (!letter(ch) && !(ch >= '0' && ch <= '9')) return false;
    return true;
}

std::string_view XMLEncodingText(int32_t encoding) noexcept {
    static constexpr std::array<std::string_view, 9> names = {"UTF-8",
                                                              "UTF-16",
                                                              "UCS-2",
                                                              "UCS-4",
                                                              "ISO-10646-UCS-2",
                                                              "UNICODE-1-1-UTF-8",
                                                              "UNICODE-2-0-UTF-16",
                                                              "UNICODE-2-0-UTF-8",
                                                              "NONE"};
    if (encoding < 0 || encoding >= static_cast<int32_t>(names.size())) return {};
    return names[static_cast<size_t>(encoding)];
}

namespace xmlnames {

bool blank(std::string_view name) {
    for (char ch : name)
        if (ch != ' ') return false;
    return true;
}

ax::xml::ElementPtr documentElementOf(const ax::xml::DocumentPtr& document) {
    ax::xml::ElementPtr root = document ? document->documentElement() : nullptr;
    if (!root) ax::raise(kObjectNotSet);
    return root;
}

}  // namespace xmlnames

void Vantrel::requireRunTimeForXml() const {
    if (!site().UserMode()) ax::raise(ax::err::NotAtDesignTime);
}

std::string Vantrel::RootElementTagName() const {
    requireRunTimeForXml();
    return rootElementTagName_;
}

std::string Vantrel::RootChildTagName() const {
    requireRunTimeForXml();
    return rootChildTagName_;
}
void Vantrel::setRootChildTagName(const std::string& value) {
    requireRunTimeForXml();
    if (!IsValidXMLName(value)) return;
    rootChildTagName_ = value;
    notify("RootChildTagName");
}

std::string Vantrel::RowElementTagName() const {
    requireRunTimeForXml();
    return rowElementTagName_;
}
void Vantrel::setRowElementTagName(const std::string& value) {
    requireRunTimeForXml();
    if (!IsValidXMLName(value)) return;
    rowElementTagName_ = value;
    notify("RowElementTagName");
}

std::string Vantrel::XMLFilePath() const {
    requireRunTimeForXml();
    return xmlFilePath_;
}
void Vantrel::setXMLFilePath(const std::string& value) {
    requireRunTimeForXml();
    xmlFilePath_ = value;
    notify("XMLFilePath");
}

std::string Vantrel::ColAttributeName() const {
    requireUserMode();
    return currentColumn().ColAttributeName;
}
void Vantrel::setColAttributeName(const std::string& value) {
    requireUserMode();
    if (inTransaction_ || !IsValidXMLName(value)) return;
    ColumnSettings& column = currentColumn();
    column.ColAttributeName = value;
    column.ColElementName.clear();
    notify("ColAttributeName");
}

std::string Vantrel::ColElementName() const {
    requireUserMode();
    return currentColumn().ColElementName;
}
void Vantrel::setColElementName(const std::string& value) {
    requireUserMode();
    if (inTransaction_ || !IsValidXMLName(value)) return;
    ColumnSettings& column = currentColumn();
    column.ColElementName = value;
    column.ColAttributeName.clear();
    notify("ColElementName");
}

void Vantrel::LoadXMLDoc() {
    // A file that cannot be read leaves a new, empty document bound; the loaders then report it.
    xmlDocument_.reset();
    try {
        xmlDocument_ = ax::xml::Document::create();
        if (!xmlDocument_->load(xmlFilePath_)) return;
        if (const ax::xml::ElementPtr root = xmlDocument_->documentElement())
            rootElementTagName_ = root->tagName();
    } catch (...) {
    }
}

bool Vantrel::CreateXMLDoc(const std::string& RootElementName, int32_t XMLEncoding) {
    if (!IsValidXMLName(RootElementName)) return false;
    rootElementTagName_.clear();
    xmlDocument_ = ax::xml::Document::create();
    std::string declaration = "version='1.0'";
    if (XMLEncoding != XMLEncodingNone)
        declaration += " encoding='" + std::string(XMLEncodingText(XMLEncoding)) + "'";
    xmlDocument_->appendChild(xmlDocument_->createProcessingInstruction("xml", declaration));
    xmlDocument_->setDocumentElement(xmlDocument_->createElement(RootElementName));
    rootElementTagName_ = RootElementName;
    return true;
}

bool Vantrel::SaveXMLDoc() {
    if (!xmlDocument_ || xmlFilePath_.empty()) return false;
    xmlDocument_->save(xmlFilePath_);
    return true;
}

bool Vantrel::UpdateXMLRootChild() {
    if (!xmlDocument_) return false;
    if (rootElementTagName_.empty()) {
        xmlDocument_.reset();
        return false;
    }
    if (rootChildTagName_.empty() || rowElementTagName_.empty()) return false;
    const ax::xml::ElementPtr root = xmlnames::documentElementOf(xmlDocument_);
    ax::xml::NodePtr container = root->selectSingleNode(rootChildTagName_);
    if (!container) {
        container =
            xmlDocument_->createNode(ax::Variant(int32_t(ax::xml::NodeType::Element)), rootChildTagName_, "");
        root->appendChild(container);
    } else {
        container->removeChildNodes();
    }
    appendGridRows(container);
    return true;
}

bool Vantrel::UpdateXMLRoot() {
    if (!xmlDocument_) return false;
    if (rootElementTagName_.empty() || rowElementTagName_.empty()) {
        xmlDocument_.reset();
        return false;
    }
    const ax::xml::ElementPtr root = xmlnames::documentElementOf(xmlDocument_);
    root->removeChildNodes();
    appendGridRows(root);
    return true;
}

bool Vantrel::DeleteXMLRootChild() {
    if (!xmlDocument_) return false;
    if (rootElementTagName_.empty()) {
        xmlDocument_.reset();
        return false;
    }
    if (rootChildTagName_.empty()) return false;
    const ax::xml::ElementPtr root = xmlnames::documentElementOf(xmlDocument_);
    const ax::xml::NodePtr container = root->selectSingleNode(rootChildTagName_);
    if (!container) return false;
    root->removeChild(container);
    return true;
}

void Vantrel::appendGridRows(const std::shared_ptr<ax::xml::Node>& parent) {
    const ax::FlexGrid& g = *FlexGrid_;
    // Held here: a host answering the events of a check-box read may reset the binding meanwhile.
    const ax::xml::DocumentPtr document = xmlDocument_;
    const std::string rowTag = rowElementTagName_;
    const int32_t rows = g.Rows(), cols = g.Cols();
    // The columns that write anything, and under which names, worked out once for all rows. Names are
    // copied: reading a check-box cell raises events, and a host may change the columns in them.
    struct NamedColumn {
        int32_t col;
        std::string attribute;  // empty when the column writes no attribute
        std::string element;    // empty when the column writes no element
        bool checkBox;
    };
    std::vector<NamedColumn> named;
    for (int32_t c = 0; c < cols; ++c) {
        const ColumnSettings& column = settingsAt(c);
        const bool asAttribute = !xmlnames::blank(column.ColAttributeName);
        const bool asElement = !xmlnames::blank(column.ColElementName);
        if (asAttribute || asElement)
            named.push_back({c, asAttribute ? column.ColAttributeName : std::string(),
                             asElement ? column.ColElementName : std::string(),
                             column.InputStyle == CheckBox});
    }
    std::string text;  // reused, so short texts cost no allocation
    ax::GridShape shape = g.shape();
    for (int32_t r = g.FixedRows(); r < rows; ++r) {
        const ax::xml::ElementPtr row = document->createElement(rowTag);
        row->setText(std::string());
        parent->appendChild(row);
        for (const NamedColumn& column : named) {
            if (column.checkBox) {
                text = TextMatrix(r, column.col);  // "1" or "0", as the host reads it
                shape = g.shape();
            } else if (r < shape.rows && column.col < shape.cols) {
                g.copyTextMatrix(r, column.col, text);
            } else {
                text.clear();  // a cell the host has taken away reads as empty, as TextMatrix gives it
            }
            // The same attribute node as createAttribute plus setAttributeNode, without an object per cell.
            if (!column.attribute.empty()) row->setAttributeText(column.attribute, text);
            if (!column.element.empty()) row->appendTextChild(column.element, text);
        }
    }
}

}  // namespace vantrel
