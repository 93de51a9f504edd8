// The well-formedness check every document passes before the DOM builds its tree from it, and every
// document passes again before it is saved: expat, a conforming XML 1.0 parser, reads the text once
// with namespace checking. The tree's own parser is lenient; this is what keeps it from accepting
// what is not XML.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ax::xml::detail {

struct Verdict {
    int32_t code = 0;  // a parse_code; 0 when the text is a document the DOM reads
    std::string reason;
    size_t offset = 0;  // byte offset of the fault in the text
    int32_t line = 0, linepos = 0;
};

// Checks UTF-8 markup (without a byte-order mark). Besides what is not well-formed, it refuses what
// the tree would read differently from a conforming parser: entity declarations and references to
// entities declared outside the document (entities are never expanded), attribute defaults declared
// in the DOCTYPE, and a version other than 1.x.
Verdict checkWellFormed(std::string_view utf8);

}  // namespace ax::xml::detail
