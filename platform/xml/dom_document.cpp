// The document: loading, saving in the declared encoding, and the node factories.
#include <algorithm>
#include <sstream>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/xml/dom_tree.h"
#include "platform/xml/encodings.h"
#include "platform/xml/file_io.h"

namespace ax::xml {

using detail::Tree;

namespace {

[[noreturn]] void domError(const std::string& text) { raise(err::InvalidProcedureCall, text); }

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

pugi::xml_node declarationOf(const Tree& t) {
    for (pugi::xml_node c = detail::firstChildOf(t, t.doc); c; c = detail::nextOf(t, c))
        if (c.type() == pugi::node_declaration) return c;
    return {};
}

// Whether any node lies deeper than the limit (walked without recursion, stopping early).
bool deeperThan(const Tree& t, int limit) {
    int depth = 0;
    pugi::xml_node cur = detail::firstChildOf(t, t.doc);
    while (cur) {
        if (pugi::xml_node child = cur.first_child()) {
            if (++depth > limit) return true;
            cur = child;
            continue;
        }
        while (cur) {
            if (pugi::xml_node next = detail::nextOf(t, cur)) {
                cur = next;
                break;
            }
            cur = cur.parent();
            if (cur == t.doc) return false;
            --depth;
        }
    }
    return false;
}

// The document as UTF-8 markup: the declaration first, then the other top-level nodes, indented
// one tab per level unless the tree is so deep that indentation would swamp the content.
std::string serialise(const Tree& t) {
    std::ostringstream out;
    const unsigned flags = deeperThan(t, 64) ? pugi::format_raw : pugi::format_indent;
    pugi::xml_node declaration = declarationOf(t);
    if (declaration) {
        // An empty encoding name would make the file unreadable to strict parsers: leave it out.
        pugi::xml_attribute enc = declaration.attribute("encoding");
        if (enc && !*enc.value()) {
            pugi::xml_document copy;
            pugi::xml_node d = copy.append_copy(declaration);
            d.remove_attribute("encoding");
            d.print(out, "\t", flags);
        } else {
            declaration.print(out, "\t", flags);
        }
    }
    for (pugi::xml_node c = detail::firstChildOf(t, t.doc); c; c = detail::nextOf(t, c))
        if (c != declaration) c.print(out, "\t", flags);
    return out.str();
}

pugi::xml_node_type nodeTypeFrom(const Variant& type) {
    int32_t number = 0;
    if (const auto* s = type.get<std::string>(); s && !readsAsNumber(*s)) {
        const std::string name = lower(*s);
        if (name == "element") return pugi::node_element;
        if (name == "attribute")
            number = 2;
        else if (name == "text")
            return pugi::node_pcdata;
        else if (name == "cdatasection")
            return pugi::node_cdata;
        else if (name == "processinginstruction")
            return pugi::node_pi;
        else if (name == "comment")
            return pugi::node_comment;
        else
            domError("'" + *s + "' is not a node type that can be created.");
    } else {
        number = cLng(type);
    }
    switch (number) {
        case 1:
            return pugi::node_element;
        case 2:
            return pugi::node_null;  // attributes are not tree nodes
        case 3:
            return pugi::node_pcdata;
        case 4:
            return pugi::node_cdata;
        case 7:
            return pugi::node_pi;
        case 8:
            return pugi::node_comment;
        default:
            domError("This node type cannot be created.");
    }
}

}  // namespace

Document::Document()
    : Node(std::make_shared<Tree>(), pugi::xml_node()), parseError_(std::make_shared<ParseError>()) {
    ref_.rebind(tree(), tree()->doc.internal_object());
}

void Document::claim() const {
    auto self = std::static_pointer_cast<Document>(const_cast<Document*>(this)->weak_from_this().lock());
    if (self) tree()->owner = self;
}

void Document::setNodeValue(const Variant&) { domError("A document has no value."); }
void Document::setText(const std::string&) { domError("The text of a document cannot be set."); }

std::string Document::xml() const { return serialise(*tree()); }

void Document::fail(int32_t code, std::string reason, const std::string& url, size_t offset,
                    std::string_view text) {
    auto e = std::make_shared<ParseError>();
    e->code_ = code;
    e->reason_ = std::move(reason);
    e->url_ = url;
    e->filepos_ = static_cast<int32_t>(std::min<size_t>(offset, INT32_MAX));
    if (!text.empty()) {
        int32_t line = 1, column = 1;
        for (size_t i = 0; i < offset && i < text.size(); ++i) {
            if (text[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        e->line_ = line;
        e->linepos_ = column;
    }
    parseError_ = std::move(e);
    // A failed load leaves an empty document, as a DOM user expects.
    auto empty = std::make_shared<Tree>();
    ref_.rebind(empty, empty->doc.internal_object());
    claim();
}

bool Document::parse(std::string bytes, const std::string& url, const std::string* markup) {
    if (!markup) {
        // A file names its encoding in its declaration. The parser reads the Unicode forms and
        // Latin-1 itself; Windows-1252 (and US-ASCII, read as it) becomes UTF-8 first, and a name
        // nothing here can read is refused rather than read as something it is not.
        const std::string declared = encoding::declaredIn(bytes);
        const auto enc = encoding::named(declared);
        if (!enc) {
            fail(parse_code::UnsupportedEncoding, "System does not support the specified encoding.", url, 0,
                 {});
            return false;
        }
        if (*enc == encoding::Encoding::Windows1252 || *enc == encoding::Encoding::Ascii)
            bytes = encoding::windows1252ToUtf8(bytes);
    }
    auto t = std::make_shared<Tree>();
    t->source = std::move(bytes);
    unsigned flags = pugi::parse_default | pugi::parse_declaration | pugi::parse_pi | pugi::parse_comments |
                     pugi::parse_doctype;
    if (preserveWhiteSpace_) flags |= pugi::parse_ws_pcdata;
    const pugi::xml_parse_result result =
        t->doc.load_buffer_inplace(t->source.data(), t->source.size(), flags, pugi::encoding_auto);
    if (!result) {
        // The buffer was parsed in place; the line and column come from the text as given.
        std::string original;
        if (markup)
            original = *markup;
        else if (readFile(url, original) != ReadStatus::Ok)
            original.clear();
        const bool utf8 = result.encoding == pugi::encoding_utf8;
        fail(parse_code::Malformed, result.description(), url,
             static_cast<size_t>(std::max<ptrdiff_t>(0, result.offset)),
             utf8 ? std::string_view(original) : std::string_view());
        return false;
    }
    int elements = 0;
    for (pugi::xml_node c = t->doc.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_doctype &&
            std::string_view(c.value()).find("<!ENTITY") != std::string_view::npos) {
            fail(parse_code::EntitiesRefused,
                 "The document declares entities in its DOCTYPE; entities are never expanded, so it is "
                 "refused.",
                 url, 0, {});
            return false;
        }
        if (c.type() == pugi::node_element) ++elements;
    }
    if (elements > 1) {
        fail(parse_code::Malformed, "Only one top level element is allowed in an XML document.", url, 0, {});
        return false;
    }
    if (elements == 0) {
        fail(parse_code::NoDocumentElement, "XML document must have a top level element.", url, 0, {});
        return false;
    }
    ref_.rebind(t, t->doc.internal_object());
    parseError_ = std::make_shared<ParseError>();
    parseError_->url_ = url;
    claim();
    return true;
}

bool Document::load(const std::string& path) {
    std::string file = path;
    if (file.rfind("file://", 0) == 0) file.erase(0, 7);
    std::string bytes;
    switch (readFile(file, bytes)) {
        case ReadStatus::NotFound:
            fail(parse_code::FileNotFound, "The system cannot locate the object specified.", path, 0, {});
            return false;
        case ReadStatus::Unreadable:
            fail(parse_code::FileUnreadable, "The file cannot be read.", path, 0, {});
            return false;
        case ReadStatus::Ok:
            break;
    }
    return parse(std::move(bytes), file, nullptr);
}

bool Document::loadXML(const std::string& markup) { return parse(markup, "", &markup); }

void Document::save(const std::string& path) const {
    const Tree& t = *tree();
    pugi::xml_node declaration = declarationOf(t);
    const std::string declared = declaration ? declaration.attribute("encoding").value() : "";
    const auto enc = encoding::named(declared);
    if (!enc) domError("The system does not support the specified encoding: '" + declared + "'.");
    auto bytes = encoding::encode(serialise(t), *enc);
    if (!bytes)
        domError("The document holds a name or comment with a character its encoding '" + declared +
                 "' cannot write.");
    writeFileAtomically(path, *bytes);
}

ElementPtr Document::documentElement() const {
    claim();
    const Tree& t = *tree();
    for (pugi::xml_node c = detail::firstChildOf(t, t.doc); c; c = detail::nextOf(t, c))
        if (c.type() == pugi::node_element) return std::make_shared<Element>(tree(), c);
    return nullptr;
}

void Document::setDocumentElement(const ElementPtr& element) {
    if (!element) raise(err::ObjectRequired);
    if (ElementPtr old = documentElement())
        replaceChild(element, old);
    else
        appendChild(element);
}

ElementPtr Document::createElement(const std::string& tagName) {
    claim();
    if (!isXmlName(tagName)) domError("'" + tagName + "' is not a valid element name.");
    pugi::xml_node n = tree()->newDetached(pugi::node_element);
    n.set_name(tagName.c_str());
    return std::make_shared<Element>(tree(), n);
}

AttributePtr Document::createAttribute(const std::string& name) {
    claim();
    if (!isXmlName(name)) domError("'" + name + "' is not a valid attribute name.");
    return std::make_shared<Attribute>(tree(), name);
}

NodePtr Document::createTextNode(const std::string& data) {
    claim();
    pugi::xml_node n = tree()->newDetached(pugi::node_pcdata);
    n.set_value(data.c_str());
    return detail::wrap(tree(), n);
}

NodePtr Document::createComment(const std::string& data) {
    claim();
    pugi::xml_node n = tree()->newDetached(pugi::node_comment);
    n.set_value(data.c_str());
    return detail::wrap(tree(), n);
}

NodePtr Document::createCDATASection(const std::string& data) {
    claim();
    pugi::xml_node n = tree()->newDetached(pugi::node_cdata);
    n.set_value(data.c_str());
    return detail::wrap(tree(), n);
}

NodePtr Document::createProcessingInstruction(const std::string& target, const std::string& data) {
    claim();
    if (lower(target) == "xml") {
        pugi::xml_node d = tree()->newDetached(pugi::node_declaration);
        d.set_name("xml");
        if (!detail::setDeclarationData(d, data)) {
            tree()->detached.remove_child(d);
            domError("The declaration's data is not well formed: " + data);
        }
        return detail::wrap(tree(), d);
    }
    if (!isXmlName(target)) domError("'" + target + "' is not a valid processing instruction target.");
    pugi::xml_node n = tree()->newDetached(pugi::node_pi);
    n.set_name(target.c_str());
    n.set_value(data.c_str());
    return detail::wrap(tree(), n);
}

NodePtr Document::createNode(const Variant& type, const std::string& name, const std::string& namespaceURI) {
    switch (nodeTypeFrom(type)) {
        case pugi::node_element: {
            ElementPtr e = createElement(name);
            if (!namespaceURI.empty()) {
                const size_t colon = name.find(':');
                const std::string attribute =
                    colon == std::string::npos ? "xmlns" : "xmlns:" + name.substr(0, colon);
                e->setAttribute(attribute, Variant(namespaceURI));
            }
            return e;
        }
        case pugi::node_null:
            return createAttribute(name);
        case pugi::node_pcdata:
            return createTextNode("");
        case pugi::node_cdata:
            return createCDATASection("");
        case pugi::node_comment:
            return createComment("");
        default:
            return createProcessingInstruction(name, "");
    }
}

}  // namespace ax::xml
