// The member tables of the DOM classes: the names late-bound callers use.
#include "platform/automation/errors.h"
#include "platform/xml/dom.h"

namespace ax::xml {

namespace {

// The members every node answers, added to the table of each node class.
template <class T>
DispatchTable<T>& addNodeMembers(DispatchTable<T>& t) {
    t.get("nodeName", &Node::nodeName)
        .get("nodeType", &Node::nodeTypeValue)
        .prop("nodeValue", &Node::nodeValue, &Node::setNodeValue)
        .prop("text", &Node::text, &Node::setText)
        .get("xml", &Node::xml)
        .get("parentNode", &Node::parentNode)
        .get("firstChild", &Node::firstChild)
        .get("lastChild", &Node::lastChild)
        .get("previousSibling", &Node::previousSibling)
        .get("nextSibling", &Node::nextSibling)
        .method("hasChildNodes", &Node::hasChildNodes)
        .get("childNodes", &Node::childNodes)
        .get("attributes", &Node::attributes)
        .get("ownerDocument", &Node::ownerDocument)
        .method("appendChild", &Node::appendChild)
        .method("insertBefore", &Node::insertBefore, {Variant()})
        .method("removeChild", &Node::removeChild)
        .method("replaceChild", &Node::replaceChild)
        .method("selectSingleNode", &Node::selectSingleNode);
    return t;
}

}  // namespace

const DispatchTable<Node>& Node::dispatchTable() {
    static const DispatchTable<Node> table = [] {
        DispatchTable<Node> t;
        return addNodeMembers(t);
    }();
    return table;
}

const DispatchTable<Element>& Element::dispatchTable() {
    static const DispatchTable<Element> table = [] {
        DispatchTable<Element> t;
        addNodeMembers(t)
            .get("tagName", &Element::tagName)
            .method("getAttribute", &Element::getAttribute)
            .method("setAttribute", &Element::setAttribute)
            .method("removeAttribute", &Element::removeAttribute)
            .method("getAttributeNode", &Element::getAttributeNode)
            .method("setAttributeNode", &Element::setAttributeNode)
            .method("removeAttributeNode", &Element::removeAttributeNode);
        return t;
    }();
    return table;
}

const DispatchTable<Attribute>& Attribute::dispatchTable() {
    static const DispatchTable<Attribute> table = [] {
        DispatchTable<Attribute> t;
        addNodeMembers(t)
            .get("name", &Attribute::name)
            .prop("value", &Attribute::value, &Attribute::setValue);
        return t;
    }();
    return table;
}

const DispatchTable<Document>& Document::dispatchTable() {
    static const DispatchTable<Document> table = [] {
        DispatchTable<Document> t;
        addNodeMembers(t)
            .method("load", &Document::load)
            .method("loadXML", &Document::loadXML)
            .method("save", &Document::save)
            .get("parseError", &Document::parseError)
            .propRef("documentElement", &Document::documentElement, &Document::setDocumentElement)
            .method("createElement", &Document::createElement)
            .method("createAttribute", &Document::createAttribute)
            .method("createTextNode", &Document::createTextNode)
            .method("createComment", &Document::createComment)
            .method("createCDATASection", &Document::createCDATASection)
            .method("createProcessingInstruction", &Document::createProcessingInstruction)
            .method("createNode", &Document::createNode, {Variant(std::string())})
            .prop("async", &Document::async, &Document::setAsync)
            .prop("preserveWhiteSpace", &Document::preserveWhiteSpace, &Document::setPreserveWhiteSpace)
            .prop("resolveExternals", &Document::resolveExternals, &Document::setResolveExternals)
            .prop("validateOnParse", &Document::validateOnParse, &Document::setValidateOnParse);
        return t;
    }();
    return table;
}

const DispatchTable<NodeList>& NodeList::dispatchTable() {
    static const auto table = DispatchTable<NodeList>()
                                  .get("length", &NodeList::length)
                                  .get("item", &NodeList::item)
                                  .method("nextNode", &NodeList::nextNode)
                                  .method("reset", &NodeList::reset)
                                  .defaultMember("item");
    return table;
}

const DispatchTable<NamedNodeMap>& NamedNodeMap::dispatchTable() {
    static const auto table = DispatchTable<NamedNodeMap>()
                                  .get("length", &NamedNodeMap::length)
                                  .get("item", &NamedNodeMap::item)
                                  .method("getNamedItem", &NamedNodeMap::getNamedItem)
                                  .method("nextNode", &NamedNodeMap::nextNode)
                                  .method("reset", &NamedNodeMap::reset)
                                  .defaultMember("item");
    return table;
}

const DispatchTable<ParseError>& ParseError::dispatchTable() {
    static const auto table = DispatchTable<ParseError>()
                                  .get("errorCode", &ParseError::errorCode)
                                  .get("reason", &ParseError::reason)
                                  .get("line", &ParseError::line)
                                  .get("linepos", &ParseError::linepos)
                                  .get("filepos", &ParseError::filepos)
                                  .get("url", &ParseError::url);
    return table;
}

}  // namespace ax::xml
