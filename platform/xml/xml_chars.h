// The characters of XML 1.0, and reading them from UTF-8.
#pragma once
#include <cstddef>
#include <string_view>

namespace ax::xml::detail {

// Whether XML 1.0 allows the character in a document.
constexpr bool isXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// The length of the UTF-8 sequence at `i` of `s` (a lead byte of 0x80 or more) and its character;
// 0 when the bytes are not UTF-8, overlong forms and surrogates included.
inline size_t utf8SequenceAt(std::string_view s, size_t i, char32_t& c) {
    const auto b = static_cast<unsigned char>(s[i]);
    const size_t n = b >= 0xC2 && b < 0xE0 ? 2 : b >= 0xE0 && b < 0xF0 ? 3 : b >= 0xF0 && b < 0xF5 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    c = b & (0xFF >> (n + 1));
    for (size_t k = 1; k < n; ++k) {
        const auto t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80) return 0;
        c = (c << 6) | (t & 0x3F);
    }
    if ((n == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) || (n == 4 && (c < 0x10000 || c > 0x10FFFF)))
        return 0;
    return n;
}

}  // namespace ax::xml::detail
