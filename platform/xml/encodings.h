// The character encodings a document can be read from and written in, beside the UTF-8 the tree
// holds. The byte-order-marked Unicode forms and Latin-1 are read by the parser itself; Windows-1252
// (and US-ASCII, read as its superset) are turned into UTF-8 before parsing.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace ax::xml::encoding {

enum class Encoding { Utf8, Utf16LE, Utf16BE, Utf32LE, Latin1, Windows1252, Ascii };

// The encoding a declared name (any case) stands for; nothing for a name this DOM does not know.
std::optional<Encoding> named(std::string_view declared);

// The encoding name in the XML declaration at the start of the bytes ("" when there is none, or when
// the bytes start with a byte-order mark, which decides instead).
std::string declaredIn(std::string_view bytes);

// Windows-1252 bytes as UTF-8.
std::string windows1252ToUtf8(std::string_view bytes);

// UTF-8 markup in the given encoding. A character the encoding cannot hold is written as a
// character reference in text and attribute values; anywhere else (a name, a comment) it cannot be
// written at all, and nothing is returned.
std::optional<std::string> encode(std::string_view utf8Markup, Encoding enc);

}  // namespace ax::xml::encoding
