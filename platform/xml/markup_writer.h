// Writing a tree as markup that reads back as the same tree. The library's own printer writes a
// carriage return in text raw (read back as a line feed), text of spaces only raw (dropped by a
// reader that drops such text) and control characters as references no reader accepts; this one
// does neither, and knows which characters the file's encoding holds.
#pragma once
#include <string>

#include <pugixml.hpp>

namespace ax::xml::encoding {
class Repertoire;
}

namespace ax::xml::detail {

struct WriteStyle {
    bool indent = true;  // a line for each node, a tab for each level; never inside mixed content
    encoding::Repertoire* repertoire = nullptr;  // the characters the file's encoding holds; null: all
    pugi::xml_node hidden;                       // a node never written (the DOM's detached nodes)
};

// Appends a node and its descendants (for a document, its children) to `out` as UTF-8 markup. A
// character the encoding lacks is written as a character reference in text and attribute values.
// Returns why the tree cannot be written (a character XML does not allow, bytes that are not UTF-8,
// a name or comment with a character the encoding lacks); an empty text when it was written.
std::string writeMarkup(pugi::xml_node node, const WriteStyle& style, std::string& out);

}  // namespace ax::xml::detail
