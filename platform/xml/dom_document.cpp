// The document: loading, saving in the declared encoding, and the node factories.
#include <algorithm>
#include <sstream>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/xml/dom_tree.h"
#include "platform/xml/encodings.h"
#include "platform/xml/file_io.h"
#include "platform/xml/markup_writer.h"
#include "platform/xml/well_formed.h"

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

// The document as UTF-8 markup, the declaration first, indented one tab per level unless the tree
// is so deep that indentation would swamp the content. Returns why it cannot be written, else "".
std::string serialise(const Tree& t, encoding::Repertoire* repertoire, std::string& out) {
    detail::WriteStyle style;
    style.indent = !deeperThan(t, 64);
    style.repertoire = repertoire;
    style.hidden = t.detached;
    const pugi::xml_node declaration = declarationOf(t);
    std::string why;
    if (declaration) why = detail::writeMarkup(declaration, style, out);
    for (pugi::xml_node c = detail::firstChildOf(t, t.doc); c && why.empty(); c = detail::nextOf(t, c))
        if (c != declaration) why = detail::writeMarkup(c, style, out);
    return why;
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

std::string Document::xml() const {
    std::string markup;
    if (serialise(*tree(), nullptr, markup).empty()) return markup;
    // A character no file can hold: shown as it stands, as the library prints it.
    std::ostringstream out;
    tree()->doc.print(out, "\t", pugi::format_raw);
    return out.str();
}

void Document::fail(int32_t code, std::string reason, const std::string& url, std::string_view text,
                    size_t offset, int32_t line, int32_t linepos) {
    auto e = std::make_shared<ParseError>();
    e->code_ = code;
    e->reason_ = std::move(reason);
    e->url_ = url;
    // Lines end at a line feed, a carriage return, or the two together; positions count characters.
    offset = std::min(offset, text.size());
    int32_t lines = 1, column = 1, characters = 0;
    for (size_t i = 0; i < offset; ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if ((b & 0xC0) == 0x80) continue;
        ++characters;
        if (b == '\n' || (b == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            ++lines;
            column = 1;
        } else if (b != '\r') {
            ++column;
        }
    }
    e->filepos_ = characters;
    e->line_ = line ? line : lines;
    e->linepos_ = line ? linepos : column;
    parseError_ = std::move(e);
    // A failed load leaves an empty document, as a DOM user expects.
    auto empty = std::make_shared<Tree>();
    ref_.rebind(empty, empty->doc.internal_object());
    claim();
}

bool Document::parse(std::string bytes, const std::string& url, bool asText) {
    auto t = std::make_shared<Tree>();
    if (asText) {
        t->source = std::move(bytes);
        if (t->source.starts_with("\xEF\xBB\xBF")) t->source.erase(0, 3);
    } else {
        encoding::Decoded decoded = encoding::decode(bytes);
        if (decoded.status != encoding::Decoded::Status::Ok) {
            const bool unsupported = decoded.status == encoding::Decoded::Status::Unsupported;
            fail(unsupported ? parse_code::UnsupportedEncoding : parse_code::Malformed,
                 std::move(decoded.reason), url, decoded.text, decoded.text.size());
            return false;
        }
        if (decoded.converted) {
            t->source = std::move(decoded.text);
        } else {
            t->source = std::move(bytes);
            t->source.erase(0, decoded.skip);
        }
    }
    // The strict parser decides; the tree is then built by the fast one, in place.
    const detail::Verdict verdict = detail::checkWellFormed(t->source);
    if (verdict.code) {
        fail(verdict.code, verdict.reason, url, t->source, verdict.offset, verdict.line, verdict.linepos);
        return false;
    }
    unsigned flags = pugi::parse_default | pugi::parse_declaration | pugi::parse_pi | pugi::parse_comments |
                     pugi::parse_doctype;
    if (preserveWhiteSpace_) flags |= pugi::parse_ws_pcdata;
    const pugi::xml_parse_result result =
        t->doc.load_buffer_inplace(t->source.data(), t->source.size(), flags, pugi::encoding_utf8);
    if (!result) {
        // Not expected after the strict check; the position is counted in the partly parsed text.
        fail(parse_code::Malformed, result.description(), url, t->source,
             static_cast<size_t>(std::max<ptrdiff_t>(0, result.offset)));
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
            fail(parse_code::FileNotFound, "The system cannot locate the object specified.", path, {}, 0);
            return false;
        case ReadStatus::Unreadable:
            fail(parse_code::FileUnreadable, "The file cannot be read.", path, {}, 0);
            return false;
        case ReadStatus::Ok:
            break;
    }
    return parse(std::move(bytes), file, false);
}

bool Document::loadBytes(std::string_view bytes) { return parse(std::string(bytes), "", false); }

bool Document::loadXML(const std::string& markup) { return parse(markup, "", true); }

void Document::save(const std::string& path) const {
    const Tree& t = *tree();
    // Nothing is written over a file for a document that has nothing to hold, such as one whose load
    // failed.
    if (!documentElement())
        domError("The document has no document element, so it is not saved; the file was left as it was.");
    pugi::xml_node declaration = declarationOf(t);
    const std::string declared = declaration ? declaration.attribute("encoding").value() : "";
    const encoding::Charset* charset = encoding::named(declared);
    if (!charset) domError("The system does not support the specified encoding: '" + declared + "'.");
    encoding::Repertoire repertoire(*charset);
    std::string markup;
    if (std::string why = serialise(t, &repertoire, markup); !why.empty())
        domError(why + " The document was not saved.");
    // What is written must load again: the same strict check as loading.
    if (const detail::Verdict v = detail::checkWellFormed(markup); v.code)
        domError("The document was not saved: it would not load again (line " + std::to_string(v.line) +
                 ", position " + std::to_string(v.linepos) + "): " + v.reason);
    const std::optional<std::string> bytes = encoding::encode(markup, *charset);
    if (!bytes) domError("The system cannot write the encoding '" + declared + "'.");
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
