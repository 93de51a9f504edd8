// The XML DOM: documents, nodes, node lists and attribute maps over pugixml, with the meanings a DOM
// user expects. Every class is an automation object, reachable by member name as well as through
// its typed members.
//
// Nodes stay usable after they are removed from the tree (removeChild returns a node that can be
// appended again), after the document is loaded again, and after the Document object is released:
// a node keeps the tree it belongs to alive. A document is read only when a conforming XML 1.0
// parser with namespace checking accepts it; what the DOM never does: fetch anything, read a DTD or
// expand an entity, so a document that declares entities is refused whole.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/object.h"
#include "platform/runtime/dispatch.h"

#include <pugixml.hpp>

namespace ax::xml {

enum class NodeType : int32_t {
    Element = 1,
    Attribute = 2,
    Text = 3,
    CData = 4,
    ProcessingInstruction = 7,
    Comment = 8,
    Document = 9,
    DocumentType = 10,
};

class Node;
class Element;
class Attribute;
class Document;
class NodeList;
class NamedNodeMap;
using NodePtr = std::shared_ptr<Node>;
using ElementPtr = std::shared_ptr<Element>;
using AttributePtr = std::shared_ptr<Attribute>;
using DocumentPtr = std::shared_ptr<Document>;

namespace detail {
struct Tree;
// A node's hold on its tree: the tree keeps a list of these, so that nodes nobody holds any more can
// be freed and attributes about to be destroyed can be detached from the objects that show them.
class Ref {
  public:
    Ref() = default;
    Ref(std::shared_ptr<Tree> tree, void* node);
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    ~Ref();

    void rebind(std::shared_ptr<Tree> tree, void* node);
    const std::shared_ptr<Tree>& tree() const { return tree_; }
    void* node() const { return node_; }

    Attribute* attribute = nullptr;  // set when the holder is an attribute object
    Ref* prev = nullptr;
    Ref* next = nullptr;

  private:
    void link();
    void unlink();

    std::shared_ptr<Tree> tree_;
    void* node_ = nullptr;  // pugi::xml_node_struct*
};
}  // namespace detail

// Any node of a document tree.
class Node : public Object {
  public:
    Node(std::shared_ptr<detail::Tree> tree, pugi::xml_node node);
    ~Node() override;

    virtual NodeType nodeType() const;
    int32_t nodeTypeValue() const { return static_cast<int32_t>(nodeType()); }
    // "#text", "#comment", "#cdata-section", "#document"; the tag, attribute name or PI target otherwise.
    virtual std::string nodeName() const;
    // Null for elements and documents; the text of text, comment and PI nodes; an attribute's value.
    virtual Variant nodeValue() const;
    virtual void setNodeValue(const Variant& value);
    // The concatenated text of every text and CDATA node below this one, in document order.
    virtual std::string text() const;
    // Replaces the node's children by one text node (none for an empty text).
    virtual void setText(const std::string& text);
    // The node and its descendants as markup (UTF-8).
    virtual std::string xml() const;

    NodePtr parentNode() const;
    NodePtr firstChild() const;
    NodePtr lastChild() const;
    NodePtr previousSibling() const;
    NodePtr nextSibling() const;
    bool hasChildNodes() const;
    std::shared_ptr<NodeList> childNodes() const;
    // The attributes of an element; nullptr (Nothing) for other nodes.
    std::shared_ptr<NamedNodeMap> attributes() const;
    DocumentPtr ownerDocument() const;
    // Visits the child nodes in order with the type, name and text their node objects would give,
    // making no objects: the way to read a whole document fast. The visit must not change the tree.
    // The name is only valid during its visit.
    void forEachChild(
        const std::function<void(NodeType type, const char* name, const std::string& text)>& visit) const;
    // Visits the child elements in order through one element object moved from child to child: the
    // object stands for each child only during its visit and must not be kept.
    void forEachChildElement(const std::function<void(Element& child)>& visit) const;
    // Removes every child, as removeChild on each in turn would, without making their objects: the
    // way to empty a large element fast. Objects held for removed nodes stay usable.
    void removeChildNodes();

    // Tree changes. A node from another document is copied in and the given object then stands for
    // the copy. Refused (error 5): a node into itself or its own descendant, a second document
    // element, children of nodes that cannot have any, and attributes or documents as children.
    NodePtr appendChild(const NodePtr& child);
    NodePtr insertBefore(const NodePtr& child, const Variant& reference);
    NodePtr removeChild(const NodePtr& child);  // error 5 when it is not a child of this node
    NodePtr replaceChild(const NodePtr& newChild, const NodePtr& oldChild);

    // The first node a path selects, or Nothing. Plain paths are resolved directly: element names
    // separated by "/", "*" for any element, "." and "..", a leading "/" for the document, and
    // "@name" as the last step for an attribute. Anything else is evaluated as XPath.
    NodePtr selectSingleNode(const std::string& path) const;

    bool isSameNode(const NodePtr& other) const;
    pugi::xml_node handle() const;
    const std::shared_ptr<detail::Tree>& tree() const { return ref_.tree(); }

    AX_DECLARE_DISPATCH(Node);

  protected:
    friend class Document;
    friend class Attribute;
    detail::Ref ref_;
};

class Element : public Node {
  public:
    using Node::Node;

    std::string tagName() const { return nodeName(); }
    bool hasAttributes() const;
    // Appends a child element holding one text (none for an empty text), as createElement, setText and
    // appendChild would, without making its object: the way to write a whole document fast.
    void appendTextChild(const std::string& tagName, const std::string& text);
    // Visits the attributes in order with their names and values, making no attribute objects.
    // The visit must not change the tree; the name is only valid during its visit.
    void forEachAttribute(const std::function<void(const char* name, const std::string& value)>& visit) const;
    Variant getAttribute(const std::string& name) const;  // Null when absent
    void setAttribute(const std::string& name, const Variant& value);
    // setAttribute with a value that is text already.
    void setAttributeText(const std::string& name, const std::string& value);
    void removeAttribute(const std::string& name);
    AttributePtr getAttributeNode(const std::string& name) const;
    // Attaches an attribute node, replacing one of the same name, which is returned (else Nothing).
    // An attribute already attached to an element is refused (error 5).
    AttributePtr setAttributeNode(const AttributePtr& attribute);
    AttributePtr removeAttributeNode(const AttributePtr& attribute);

    AX_DECLARE_DISPATCH(Element);
};

// An attribute: attached to an element, or free (made by createAttribute, or removed) until
// setAttributeNode attaches it.
class Attribute : public Node {
  public:
    Attribute(std::shared_ptr<detail::Tree> tree, pugi::xml_node owner, void* attribute);
    Attribute(std::shared_ptr<detail::Tree> tree, std::string name);
    ~Attribute() override;

    NodeType nodeType() const override { return NodeType::Attribute; }
    std::string nodeName() const override { return name(); }
    Variant nodeValue() const override { return value(); }
    void setNodeValue(const Variant& value) override;
    std::string text() const override { return value(); }
    void setText(const std::string& text) override;
    std::string xml() const override;

    std::string name() const;
    std::string value() const;
    void setValue(const std::string& value);
    bool attached() const { return attr_ != nullptr; }

    AX_DECLARE_DISPATCH(Attribute);

  private:
    friend class Node;
    friend class Element;
    friend struct detail::Tree;
    void detach();                                       // keeps name and value, forgets the element
    void attach(pugi::xml_node owner, void* attribute);  // now stands for that element's attribute

    void* attr_ = nullptr;  // pugi::xml_attribute_struct* when attached
    std::string name_, value_;
};

// The children of a node, live: it follows changes to the tree.
class NodeList : public Object {
  public:
    NodeList(std::shared_ptr<detail::Tree> tree, pugi::xml_node parent);

    int32_t length() const;
    NodePtr item(int32_t index) const;  // Nothing outside 0..length-1
    // The next node of an iteration that reset() restarts; Nothing after the last.
    NodePtr nextNode();
    void reset();

    AX_DECLARE_DISPATCH(NodeList);

  private:
    void refresh() const;

    detail::Ref parent_;
    detail::Ref cursor_;  // last node returned by nextNode
    bool started_ = false;
    // A cache so that walking item(0..n-1) costs n steps, dropped whenever the tree changes.
    mutable uint64_t version_ = ~0ull;
    mutable int32_t length_ = 0;
    mutable int32_t cachedIndex_ = -1;
    mutable void* cachedNode_ = nullptr;
};

// The attributes of an element, in document order.
class NamedNodeMap : public Object {
  public:
    NamedNodeMap(std::shared_ptr<detail::Tree> tree, pugi::xml_node element);

    int32_t length() const;
    AttributePtr item(int32_t index) const;  // Nothing outside 0..length-1
    AttributePtr getNamedItem(const std::string& name) const;
    AttributePtr nextNode();
    void reset() { next_ = 0; }

    AX_DECLARE_DISPATCH(NamedNodeMap);

  private:
    detail::Ref element_;
    int32_t next_ = 0;
};

// Why the last load failed. errorCode is 0 after a successful load.
class ParseError : public Object {
  public:
    int32_t errorCode() const { return code_; }
    const std::string& reason() const { return reason_; }
    int32_t line() const { return line_; }
    int32_t linepos() const { return linepos_; }
    int32_t filepos() const { return filepos_; }
    const std::string& url() const { return url_; }

    AX_DECLARE_DISPATCH(ParseError);

  private:
    friend class Document;
    int32_t code_ = 0;
    std::string reason_, url_;
    int32_t line_ = 0, linepos_ = 0, filepos_ = 0;
};

// Codes of ParseError::errorCode.
namespace parse_code {
inline constexpr int32_t FileNotFound = 1;
inline constexpr int32_t FileUnreadable = 2;
// Not well-formed, or bytes that are not valid in the document's encoding.
inline constexpr int32_t Malformed = 3;
// Declarations the DOM does not apply: entities, attribute defaults, entities declared outside.
inline constexpr int32_t DeclarationsRefused = 4;
inline constexpr int32_t NoDocumentElement = 5;
inline constexpr int32_t UnsupportedEncoding = 6;
}  // namespace parse_code

// A document. Loading works out the encoding from the byte-order mark, the first bytes and the
// declaration, as XML does, and refuses bytes that contradict it; saving writes the encoding the
// declaration names (no declaration or no encoding: UTF-8). The encodings: the Unicode forms (UTF-16
// written little-endian with a byte-order mark unless its name says big-endian, UTF-32 and UCS-4
// big-endian without one), US-ASCII, the ISO-8859 and Windows code pages, a few IBM and KOI8 ones and
// the common East Asian ones, under the character-set registry's names and aliases. A character an
// encoding cannot hold is written as a character reference in text and attribute values.
class Document : public Node {
  public:
    Document();
    static DocumentPtr create() { return std::make_shared<Document>(); }

    NodeType nodeType() const override { return NodeType::Document; }
    std::string nodeName() const override { return "#document"; }
    Variant nodeValue() const override { return Variant(Null{}); }
    void setNodeValue(const Variant&) override;
    void setText(const std::string& text) override;
    std::string xml() const override;

    // Replaces the whole content by the file's; false (with parseError filled in) when it cannot be
    // read, which leaves the document empty.
    bool load(const std::string& path);
    // The same from bytes as a file holds them.
    bool loadBytes(std::string_view bytes);
    // From text: the declaration's encoding, if any, is not applied.
    bool loadXML(const std::string& markup);
    std::shared_ptr<ParseError> parseError() const { return parseError_; }
    // Writes through a temporary file renamed over the target: a failed save leaves an existing
    // file as it was. An unwritable path raises 75. Refused with 5 before the file is touched: a
    // document without a document element, an encoding it cannot write, and a document that would
    // not load again (a character XML does not allow, a name or comment its encoding cannot hold, an
    // undeclared namespace prefix).
    void save(const std::string& path) const;

    ElementPtr documentElement() const;
    void setDocumentElement(const ElementPtr& element);  // replaces the present one

    ElementPtr createElement(const std::string& tagName);
    AttributePtr createAttribute(const std::string& name);
    NodePtr createTextNode(const std::string& data);
    NodePtr createComment(const std::string& data);
    NodePtr createCDATASection(const std::string& data);
    // The target "xml" makes the declaration; its data gives version, encoding and standalone.
    NodePtr createProcessingInstruction(const std::string& target, const std::string& data);
    // type: a NodeType number or its DOM name ("element", "attribute", ...). A namespace for an
    // element is declared on it (xmlns or xmlns:prefix).
    NodePtr createNode(const Variant& type, const std::string& name, const std::string& namespaceURI);

    // Settings a DOM user may set; entities and external resources are never resolved whatever they say.
    bool async() const { return async_; }
    void setAsync(bool v) { async_ = v; }
    bool preserveWhiteSpace() const { return preserveWhiteSpace_; }
    void setPreserveWhiteSpace(bool v) { preserveWhiteSpace_ = v; }
    bool resolveExternals() const { return false; }
    void setResolveExternals(bool) {}
    bool validateOnParse() const { return false; }
    void setValidateOnParse(bool) {}

    AX_DECLARE_DISPATCH(Document);

  private:
    // `bytes` as a file holds them, or (asText) UTF-8 text whose declared encoding is not applied.
    bool parse(std::string bytes, const std::string& url, bool asText);
    void claim() const;  // makes this object the one that stands for its tree's document node
    // Records why the load failed; the line and position are found in `text` (UTF-8) at `offset`
    // unless given.
    void fail(int32_t code, std::string reason, const std::string& url, std::string_view text, size_t offset,
              int32_t line = 0, int32_t linepos = 0);

    std::shared_ptr<ParseError> parseError_;
    bool async_ = true;
    bool preserveWhiteSpace_ = false;
};

// Whether a name is a well-formed XML name: XML 1.0's name characters, not starting with a digit,
// "-", "." or a combining character.
bool isXmlName(std::string_view name);

}  // namespace ax::xml
