#include "platform/xml/encodings.h"

#include <array>
#include <cctype>
#include <cstdint>

#include "platform/automation/utf8.h"

namespace ax::xml::encoding {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Windows-1252 bytes 0x80..0x9F; the five the code page leaves unassigned stand for themselves.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Next code point of UTF-8 text; a byte that does not start a valid sequence gives U+FFFD.
char32_t nextCodePoint(std::string_view s, size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    auto cont = [&](size_t k) {
        return i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
    };
    auto at = [&](size_t k) { return char32_t(static_cast<unsigned char>(s[i + k]) & 0x3F); };
    if (b < 0x80) {
        ++i;
        return b;
    }
    if (b >= 0xC2 && b < 0xE0 && cont(1)) {
        char32_t c = (char32_t(b & 0x1F) << 6) | at(1);
        i += 2;
        return c;
    }
    if (b >= 0xE0 && b < 0xF0 && cont(1) && cont(2)) {
        char32_t c = (char32_t(b & 0x0F) << 12) | (at(1) << 6) | at(2);
        if (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) {
            i += 3;
            return c;
        }
    }
    if (b >= 0xF0 && b < 0xF5 && cont(1) && cont(2) && cont(3)) {
        char32_t c = (char32_t(b & 0x07) << 18) | (at(1) << 12) | (at(2) << 6) | at(3);
        if (c >= 0x10000 && c <= 0x10FFFF) {
            i += 4;
            return c;
        }
    }
    ++i;
    return 0xFFFD;
}

// The byte an 8-bit encoding writes for a character, if it has one.
std::optional<unsigned char> byteFor(char32_t c, Encoding enc) {
    if (c < 0x80) return static_cast<unsigned char>(c);
    switch (enc) {
        case Encoding::Latin1:
            if (c < 0x100) return static_cast<unsigned char>(c);
            return std::nullopt;
        case Encoding::Windows1252:
            if (c >= 0xA0 && c < 0x100) return static_cast<unsigned char>(c);
            for (size_t i = 0; i < kWindows1252High.size(); ++i)
                if (kWindows1252High[i] == c) return static_cast<unsigned char>(0x80 + i);
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

// Where in the markup a character stands, as far as a character reference may replace it.
enum class Place { Text, Tag, AttributeValue, Comment, Instruction, CData, Doctype };

std::optional<std::string> encodeEightBit(std::string_view utf8, Encoding enc) {
    std::string out;
    out.reserve(utf8.size());
    Place place = Place::Text;
    char quote = 0;
    int brackets = 0;  // inside a DOCTYPE's internal subset
    auto startsWith = [&](size_t i, std::string_view s) { return utf8.substr(i, s.size()) == s; };
    for (size_t i = 0; i < utf8.size();) {
        const size_t at = i;
        const char32_t c = nextCodePoint(utf8, i);
        if (c < 0x80) {
            switch (place) {
                case Place::Text:
                    if (c == '<') {
                        if (startsWith(at, "<!--"))
                            place = Place::Comment;
                        else if (startsWith(at, "<?"))
                            place = Place::Instruction;
                        else if (startsWith(at, "<![CDATA["))
                            place = Place::CData;
                        else if (startsWith(at, "<!"))
                            place = Place::Doctype;
                        else
                            place = Place::Tag;
                    }
                    break;
                case Place::Tag:
                    if (c == '"' || c == '\'') {
                        quote = char(c);
                        place = Place::AttributeValue;
                    } else if (c == '>') {
                        place = Place::Text;
                    }
                    break;
                case Place::AttributeValue:
                    if (char(c) == quote) place = Place::Tag;
                    break;
                case Place::Comment:
                    if (c == '>' && at >= 2 && utf8.substr(at - 2, 2) == "--") place = Place::Text;
                    break;
                case Place::Instruction:
                    if (c == '>' && at >= 1 && utf8[at - 1] == '?') place = Place::Text;
                    break;
                case Place::CData:
                    if (c == '>' && at >= 2 && utf8.substr(at - 2, 2) == "]]") place = Place::Text;
                    break;
                case Place::Doctype:
                    if (c == '[') ++brackets;
                    if (c == ']') --brackets;
                    if (c == '>' && brackets <= 0) place = Place::Text;
                    break;
            }
            out += char(c);
            continue;
        }
        if (auto byte = byteFor(c, enc)) {
            out += char(*byte);
        } else if (place == Place::Text || place == Place::AttributeValue) {
            out += "&#" + std::to_string(static_cast<uint32_t>(c)) + ";";
        } else {
            return std::nullopt;
        }
    }
    return out;
}

}  // namespace

std::optional<Encoding> named(std::string_view declared) {
    const std::string name = lower(declared);
    if (name.empty() || name == "utf-8" || name == "unicode-1-1-utf-8" || name == "unicode-2-0-utf-8" ||
        name == "utf8")
        return Encoding::Utf8;
    if (name == "utf-16" || name == "ucs-2" || name == "iso-10646-ucs-2" || name == "unicode-2-0-utf-16" ||
        name == "utf-16le" || name == "unicode")
        return Encoding::Utf16LE;
    if (name == "utf-16be" || name == "unicodefffe") return Encoding::Utf16BE;
    if (name == "ucs-4" || name == "iso-10646-ucs-4" || name == "utf-32" || name == "utf-32le")
        return Encoding::Utf32LE;
    if (name == "iso-8859-1" || name == "latin1" || name == "latin-1" || name == "iso_8859-1" || name == "l1")
        return Encoding::Latin1;
    if (name == "windows-1252" || name == "cp1252" || name == "x-cp1252") return Encoding::Windows1252;
    if (name == "us-ascii" || name == "ascii" || name == "iso646-us") return Encoding::Ascii;
    return std::nullopt;
}

std::string declaredIn(std::string_view bytes) {
    if (bytes.substr(0, 5) != "<?xml") return std::string();
    const size_t end = bytes.find("?>");
    const std::string_view declaration = bytes.substr(0, end == std::string_view::npos ? 0 : end);
    const size_t key = declaration.find("encoding");
    if (key == std::string_view::npos) return std::string();
    size_t i = key + 8;
    while (i < declaration.size() &&
           (declaration[i] == ' ' || declaration[i] == '\t' || declaration[i] == '\r' ||
            declaration[i] == '\n' || declaration[i] == '='))
        ++i;
    if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\'')) return std::string();
    const char quote = declaration[i];
    const size_t close = declaration.find(quote, i + 1);
    if (close == std::string_view::npos) return std::string();
    return std::string(declaration.substr(i + 1, close - i - 1));
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out += ch;
        else if (b < 0xA0)
            appendUtf8(out, kWindows1252High[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

std::optional<std::string> encode(std::string_view utf8, Encoding enc) {
    if (enc == Encoding::Utf8) return std::string(utf8);
    if (enc == Encoding::Latin1 || enc == Encoding::Windows1252 || enc == Encoding::Ascii)
        return encodeEightBit(utf8, enc);
    std::string out = enc == Encoding::Utf32LE   ? std::string("\xFF\xFE\0\0", 4)
                      : enc == Encoding::Utf16BE ? std::string("\xFE\xFF", 2)
                                                 : std::string("\xFF\xFE", 2);
    auto unit16 = [&](uint16_t u) {
        if (enc == Encoding::Utf16LE) {
            out += char(u & 0xFF);
            out += char(u >> 8);
        } else {
            out += char(u >> 8);
            out += char(u & 0xFF);
        }
    };
    out.reserve(out.size() + utf8.size() * (enc == Encoding::Utf32LE ? 4 : 2));
    for (size_t i = 0; i < utf8.size();) {
        const char32_t c = nextCodePoint(utf8, i);
        if (enc == Encoding::Utf32LE) {
            for (int k = 0; k < 4; ++k) out += char((c >> (8 * k)) & 0xFF);
        } else if (c < 0x10000) {
            unit16(static_cast<uint16_t>(c));
        } else {
            const char32_t v = c - 0x10000;
            unit16(static_cast<uint16_t>(0xD800 + (v >> 10)));
            unit16(static_cast<uint16_t>(0xDC00 + (v & 0x3FF)));
        }
    }
    return out;
}

}  // namespace ax::xml::encoding
