#include "platform/xml/markup_writer.h"

#include <cstdio>
#include <string_view>

#include "platform/xml/encodings.h"
#include "platform/xml/xml_chars.h"

namespace ax::xml::detail {

namespace {

// Where a piece of text goes, which decides its escapes.
enum class Part { Text, AttributeValue, CData, Raw };

// Where a piece of text stands, for an error to name: "in <what> <name>", the name taken only when
// an error needs it.
struct Where {
    const char* what;  // "the text of", "the name", ...
    const char* name = nullptr;
    const char* owner = nullptr;  // the element of an attribute
};

std::string describe(const Where& w) {
    std::string out = std::string("in ") + w.what;
    if (w.name) out += w.owner ? " '" + std::string(w.name) + "'" : " <" + std::string(w.name) + ">";
    if (w.owner) out += " of <" + std::string(w.owner) + ">";
    return out;
}

bool blank(std::string_view s) {
    for (char c : s)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return false;
    return !s.empty();
}

std::string codeOf(char32_t c) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    return code;
}

void reference(std::string& out, char32_t c) {
    out += "&#";
    out += std::to_string(static_cast<uint32_t>(c));
    out += ';';
}

class Writer {
  public:
    Writer(const WriteStyle& style, std::string& out) : style_(style), out_(out) {}

    void tree(pugi::xml_node top);
    std::string error;

  private:
    pugi::xml_node firstChild(pugi::xml_node n) const {
        pugi::xml_node c = n.first_child();
        return c == style_.hidden ? c.next_sibling() : c;
    }
    pugi::xml_node next(pugi::xml_node n) const {
        pugi::xml_node s = n.next_sibling();
        return s && s == style_.hidden ? s.next_sibling() : s;
    }
    bool indented(int depth) const { return style_.indent && (rawFrom_ < 0 || depth < rawFrom_); }
    void lineStart(int depth) {
        if (indented(depth)) out_.append(static_cast<size_t>(depth), '\t');
    }
    void lineEnd(int depth) {
        if (indented(depth)) out_ += '\n';
    }
    void startTag(pugi::xml_node n, int depth);
    void endTag(pugi::xml_node n, int depth);
    void leaf(pugi::xml_node n, int depth);
    void attributes(pugi::xml_node n);
    // Appends `s` escaped for its part; `where` names it in an error.
    void put(std::string_view s, Part part, const Where& where);
    void fail(std::string why) {
        if (error.empty()) error = std::move(why);
    }

    const WriteStyle& style_;
    std::string& out_;
    int rawFrom_ = -1;  // the depth from which nodes are written without indentation (mixed content)
};

void Writer::put(std::string_view s, Part part, const Where& where) {
    // Text of white space only is dropped by readers that drop such text: written as references, it
    // is read back whatever the reader's setting.
    const bool spacesOnly = part == Part::Text && blank(s);
    size_t plain = 0;  // bytes before this are written
    auto flush = [&](size_t upTo) {
        out_.append(s.data() + plain, upTo - plain);
        plain = upTo;
    };
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b >= 0x80) {
            char32_t c = 0;
            const size_t n = utf8SequenceAt(s, i, c);
            if (n == 0) return fail("The document holds bytes that are not UTF-8 " + describe(where) + ".");
            if (!isXmlChar(c))
                return fail("The document holds the character " + codeOf(c) + " " + describe(where) +
                            ", which XML does not allow.");
            if (style_.repertoire && !style_.repertoire->holds(c)) {
                if (part == Part::Raw)
                    return fail("The document holds the character " + codeOf(c) + " " + describe(where) +
                                ", which its encoding cannot hold.");
                flush(i);
                if (part == Part::CData) out_ += "]]>";
                reference(out_, c);
                if (part == Part::CData) out_ += "<![CDATA[";
                plain = i + n;
            }
            i += n;
            continue;
        }
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r')
            return fail("The document holds the character " + codeOf(b) + " " + describe(where) +
                        ", which XML does not allow.");
        const char* escape = nullptr;
        switch (part) {
            case Part::Text:
                escape = b == '&'    ? "&amp;"
                         : b == '<'  ? "&lt;"
                         : b == '>'  ? "&gt;"
                         : b == '\r' ? "&#13;"
                                     : nullptr;
                break;
            case Part::AttributeValue:
                escape = b == '&'    ? "&amp;"
                         : b == '<'  ? "&lt;"
                         : b == '>'  ? "&gt;"
                         : b == '"'  ? "&quot;"
                         : b == '\t' ? "&#9;"
                         : b == '\n' ? "&#10;"
                         : b == '\r' ? "&#13;"
                                     : nullptr;
                break;
            case Part::CData:
                if (b == '\r') escape = "]]>&#13;<![CDATA[";
                if (b == '>' && i >= 2 && s.substr(i - 2, 2) == "]]") escape = "]]><![CDATA[>";
                break;
            case Part::Raw:
                break;
        }
        if (spacesOnly) {
            flush(i);
            reference(out_, b);
            plain = i + 1;
        } else if (escape) {
            flush(i);
            out_ += escape;
            plain = i + 1;
        }
        ++i;
    }
    flush(s.size());
}

void Writer::attributes(pugi::xml_node n) {
    const bool declaration = n.type() == pugi::node_declaration;
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
        // An empty encoding name would make the file unreadable: the declaration goes without it.
        if (declaration && std::string_view(a.name()) == "encoding" && !*a.value()) continue;
        out_ += ' ';
        put(a.name(), Part::Raw, {"an attribute name", nullptr, n.name()});
        out_ += "=\"";
        put(a.value(), Part::AttributeValue, {"the attribute", a.name(), n.name()});
        out_ += '"';
    }
}

void Writer::startTag(pugi::xml_node n, int depth) {
    lineStart(depth);
    out_ += '<';
    put(n.name(), Part::Raw, {"the name", n.name()});
    attributes(n);
    out_ += '>';
    // Around text, white space would become part of it: mixed content is written as it stands.
    if (rawFrom_ < 0)
        for (pugi::xml_node c = firstChild(n); c; c = next(c))
            if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
                rawFrom_ = depth + 1;
                break;
            }
    lineEnd(depth + 1);
}

void Writer::endTag(pugi::xml_node n, int depth) {
    if (rawFrom_ == depth + 1)
        rawFrom_ = -1;  // the end tag follows the content directly
    else
        lineStart(depth);
    out_ += "</";
    out_ += n.name();
    out_ += '>';
    lineEnd(depth);
}

void Writer::leaf(pugi::xml_node n, int depth) {
    const std::string_view value = n.value();
    lineStart(depth);
    switch (n.type()) {
        case pugi::node_element:
            out_ += '<';
            put(n.name(), Part::Raw, {"the name", n.name()});
            attributes(n);
            out_ += style_.indent ? " />" : "/>";
            break;
        case pugi::node_pcdata:
            put(value, Part::Text, {"the text of", n.parent().name()});
            break;
        case pugi::node_cdata:
            out_ += "<![CDATA[";
            put(value, Part::CData, {"a CDATA section of", n.parent().name()});
            out_ += "]]>";
            break;
        case pugi::node_comment:
            out_ += "<!--";
            put(value, Part::Raw, {"a comment"});
            out_ += "-->";
            break;
        case pugi::node_pi:
            // "?>" would end the instruction early, and the rest would read back as text.
            if (value.find("?>") != std::string_view::npos)
                return fail("The processing instruction '" + std::string(n.name()) +
                            "' holds \"?>\", which would end it early.");
            out_ += "<?";
            put(n.name(), Part::Raw, {"a processing instruction"});
            if (!value.empty()) {
                out_ += ' ';
                put(value, Part::Raw, {"a processing instruction"});
            }
            out_ += "?>";
            break;
        case pugi::node_declaration:
            out_ += "<?xml";
            attributes(n);
            out_ += "?>";
            break;
        case pugi::node_doctype:
            out_ += "<!DOCTYPE ";
            put(value, Part::Raw, {"the DOCTYPE"});
            out_ += '>';
            break;
        default:
            break;
    }
    lineEnd(depth);
}

// Walks without recursion, so that depth costs no stack.
void Writer::tree(pugi::xml_node top) {
    pugi::xml_node cur = top;
    int depth = 0;
    while (error.empty()) {
        if (cur.type() == pugi::node_element) {
            if (pugi::xml_node child = firstChild(cur)) {
                startTag(cur, depth);
                cur = child;
                ++depth;
                continue;
            }
        }
        leaf(cur, depth);
        while (true) {
            if (cur == top) return;
            if (pugi::xml_node sibling = next(cur)) {
                cur = sibling;
                break;
            }
            cur = cur.parent();
            --depth;
            endTag(cur, depth);
        }
    }
}

}  // namespace

std::string writeMarkup(pugi::xml_node node, const WriteStyle& style, std::string& out) {
    Writer writer(style, out);
    if (node.type() == pugi::node_document) {
        for (pugi::xml_node c = node.first_child(); c && writer.error.empty(); c = c.next_sibling())
            if (c != style.hidden) writer.tree(c);
    } else {
        writer.tree(node);
    }
    return writer.error;
}

}  // namespace ax::xml::detail
