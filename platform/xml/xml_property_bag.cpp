#include "platform/xml/xml_property_bag.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>

#include <pugixml.hpp>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/automation/font.h"
#include "platform/automation/picture.h"
#include "platform/xml/file_io.h"
#include "platform/xml/markup_writer.h"
#include "platform/xml/well_formed.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace ax {

namespace {

// --- base64 --------------------------------------------------------------------------------------

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string toBase64(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const uint32_t v = (uint32_t(uint8_t(bytes[i])) << 16) | (uint32_t(uint8_t(bytes[i + 1])) << 8) |
                           uint8_t(bytes[i + 2]);
        for (int k = 3; k >= 0; --k) out += kAlphabet[(v >> (6 * k)) & 63];
    }
    if (i < bytes.size()) {
        uint32_t v = uint32_t(uint8_t(bytes[i])) << 16;
        if (i + 1 < bytes.size()) v |= uint32_t(uint8_t(bytes[i + 1])) << 8;
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::optional<std::string> fromBase64(std::string_view text) {
    std::string out;
    uint32_t acc = 0;
    int bits = 0;
    size_t padding = 0;
    for (char c : text) {
        int v;
        if (c >= 'A' && c <= 'Z')
            v = c - 'A';
        else if (c >= 'a' && c <= 'z')
            v = c - 'a' + 26;
        else if (c >= '0' && c <= '9')
            v = c - '0' + 52;
        else if (c == '+')
            v = 62;
        else if (c == '/')
            v = 63;
        else if (c == '=') {
            ++padding;
            continue;
        } else if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
            continue;
        } else {
            return std::nullopt;
        }
        if (padding) return std::nullopt;  // data after the padding
        acc = (acc << 6) | uint32_t(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += char((acc >> bits) & 0xFF);
        }
    }
    if (padding > 2 || bits >= 6) return std::nullopt;  // a cut-off group
    return out;
}

// --- values as text ------------------------------------------------------------------------------

template <class T>
std::string numberToText(T v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

template <class T>
std::optional<T> textToNumber(std::string_view s) {
    T v{};
    if (s.empty()) return std::nullopt;
    if (s.front() == '+') s.remove_prefix(1);
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
    return v;
}

std::optional<bool> textToBool(std::string_view s) {
    if (s == "true" || s == "True" || s == "-1" || s == "1") return true;
    if (s == "false" || s == "False" || s == "0") return false;
    return std::nullopt;
}

const char* boolText(bool b) { return b ? "true" : "false"; }

// A date as ISO text when that reproduces it exactly, else as its serial number.
std::string dateToText(Date d) {
    try {
        const CivilDateTime c = toCivil(d);
        if (toAutomationDate(c) == d) {
            char buf[40];
            if (c.hour == 0 && c.minute == 0 && c.second == 0)
                std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", c.year, c.month, c.day);
            else
                std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", c.year, c.month, c.day,
                              c.hour, c.minute, c.second);
            return buf;
        }
    } catch (const AutomationError&) {
    }
    return numberToText(d.value);
}

std::optional<Date> textToDate(std::string_view s) {
    auto digits = [&](size_t at, size_t n) -> std::optional<int> {
        if (at + n > s.size()) return std::nullopt;
        int v = 0;
        for (size_t i = at; i < at + n; ++i) {
            if (s[i] < '0' || s[i] > '9') return std::nullopt;
            v = v * 10 + (s[i] - '0');
        }
        return v;
    };
    if (s.size() >= 10 && s[4] == '-' && s[7] == '-') {
        CivilDateTime c;
        auto y = digits(0, 4), m = digits(5, 2), d = digits(8, 2);
        if (!y || !m || !d) return std::nullopt;
        c.year = *y, c.month = *m, c.day = *d;
        if (s.size() != 10) {
            if (s.size() != 19 || s[10] != 'T' || s[13] != ':' || s[16] != ':') return std::nullopt;
            auto h = digits(11, 2), n = digits(14, 2), sec = digits(17, 2);
            if (!h || !n || !sec || *h > 23 || *n > 59 || *sec > 59) return std::nullopt;
            c.hour = *h, c.minute = *n, c.second = *sec;
        }
        if (c.month < 1 || c.month > 12 || c.day < 1 || c.day > 31) return std::nullopt;
        try {
            const Date date = toAutomationDate(c);
            if (toCivil(date).day != c.day) return std::nullopt;  // 31 April and the like
            return date;
        } catch (const AutomationError&) {
            return std::nullopt;
        }
    }
    if (auto v = textToNumber<double>(s); v && std::isfinite(*v)) return Date{*v};
    return std::nullopt;
}

// Text that an XML attribute can carry unchanged: valid UTF-8 without control characters other
// than tab, line feed and carriage return.
bool storableAsText(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x20) {
            if (b != '\t' && b != '\n' && b != '\r') return false;
            ++i;
            continue;
        }
        if (b < 0x80) {
            ++i;
            continue;
        }
        const size_t n = b >= 0xC2 && b < 0xE0   ? 2
                         : b >= 0xE0 && b < 0xF0 ? 3
                         : b >= 0xF0 && b < 0xF5 ? 4
                                                 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        if (n == 3) {
            const unsigned cp = ((b & 0x0F) << 12) | ((static_cast<unsigned char>(s[i + 1]) & 0x3F) << 6) |
                                (static_cast<unsigned char>(s[i + 2]) & 0x3F);
            if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF) || cp >= 0xFFFE) return false;
        }
        if (n == 4) {
            const unsigned cp = ((b & 0x07) << 18) | ((static_cast<unsigned char>(s[i + 1]) & 0x3F) << 12);
            if (cp < 0x10000 || cp > 0x10FFFF) return false;
        }
        i += n;
    }
    return true;
}

// --- pictures ------------------------------------------------------------------------------------

void appendBytes(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

std::string pngOf(const Picture& p) {
    std::vector<uint8_t> rgba;
    rgba.reserve(p.pixels().size() * 4);
    for (uint32_t px : p.pixels())
        for (int k = 0; k < 4; ++k) rgba.push_back(static_cast<uint8_t>((px >> (8 * k)) & 0xFF));
    std::string out;
    if (p.Width() <= 0 || p.Height() <= 0 || rgba.size() != size_t(p.Width()) * size_t(p.Height()) * 4 ||
        !stbi_write_png_to_func(appendBytes, &out, p.Width(), p.Height(), 4, rgba.data(), p.Width() * 4))
        raise(err::InvalidPicture);
    return out;
}

// --- equality with the default -------------------------------------------------------------------

bool noPicture(const std::shared_ptr<Object>& o) {
    auto p = std::dynamic_pointer_cast<Picture>(o);
    return !o || (p && p->Handle() == 0);
}

bool sameValue(const Variant& a, const Variant& b) {
    if (a.isObject() || b.isObject()) {
        const auto* oa = a.get<std::shared_ptr<Object>>();
        const auto* ob = b.get<std::shared_ptr<Object>>();
        std::shared_ptr<Object> x = oa ? *oa : nullptr, y = ob ? *ob : nullptr;
        if ((!oa && !a.isEmpty()) || (!ob && !b.isEmpty())) return false;
        if (x == y) return true;
        auto fx = std::dynamic_pointer_cast<Font>(x), fy = std::dynamic_pointer_cast<Font>(y);
        if (fx && fy) return fx->sameAs(*fy);
        if (noPicture(x) && noPicture(y)) return true;
        return false;
    }
    if (a.isArray() || b.isArray()) return false;
    if (a.isEmpty() || b.isEmpty() || a.isNull() || b.isNull()) return a.type() == b.type();
    if (a.isString() && b.isString()) return *a.get<std::string>() == *b.get<std::string>();
    try {
        if (a.isString() || b.isString()) {
            // A default given as text ("12/31/9999") matches the value it reads as.
            const Variant& text = a.isString() ? a : b;
            const Variant& other = a.isString() ? b : a;
            if (other.type() == VarType::Date) return cDate(text).value == other.get<Date>()->value;
            auto n = parseNumber(*text.get<std::string>());
            return n && *n == cDbl(other);
        }
        return cDbl(a) == cDbl(b);
    } catch (const AutomationError&) {
        return false;
    }
}

// --- entries -------------------------------------------------------------------------------------

void writeEntry(pugi::xml_node parent, const std::string& name, const Variant& v,
                XmlPropertyBag::PictureStorage storage) {
    pugi::xml_node e = parent.append_child("property");
    e.append_attribute("name").set_value(name.c_str());
    auto type = [&](const char* t) { e.append_attribute("type").set_value(t); };
    auto value = [&](const std::string& s) { e.append_attribute("value").set_value(s.c_str()); };
    switch (v.type()) {
        case VarType::Empty:
            type("Empty");
            return;
        case VarType::Null:
            type("Null");
            return;
        case VarType::Integer:
            type("Integer"), value(numberToText(*v.get<int16_t>()));
            return;
        case VarType::Long:
            type("Long"), value(numberToText(*v.get<int32_t>()));
            return;
        case VarType::Single:
            type("Single"), value(numberToText(*v.get<float>()));
            return;
        case VarType::Double:
            type("Double"), value(numberToText(*v.get<double>()));
            return;
        case VarType::Boolean:
            type("Boolean"), value(boolText(*v.get<bool>()));
            return;
        case VarType::Date:
            type("Date"), value(dateToText(*v.get<Date>()));
            return;
        case VarType::String: {
            type("String");
            const std::string& s = *v.get<std::string>();
            if (storableAsText(s))
                value(s);
            else
                e.append_attribute("base64").set_value(toBase64(s).c_str());
            return;
        }
        case VarType::Object:
            break;
        default:
            raise(err::TypeMismatch, "An array cannot be stored in a property file.");
    }
    const auto& o = *v.get<std::shared_ptr<Object>>();
    if (auto f = std::dynamic_pointer_cast<Font>(o)) {
        type("Font");
        e.append_attribute("fontName").set_value(f->Name().c_str());
        e.append_attribute("size").set_value(numberToText(f->Size()).c_str());
        e.append_attribute("bold").set_value(boolText(f->Bold()));
        e.append_attribute("italic").set_value(boolText(f->Italic()));
        e.append_attribute("underline").set_value(boolText(f->Underline()));
        e.append_attribute("strikethrough").set_value(boolText(f->Strikethrough()));
        e.append_attribute("weight").set_value(numberToText(f->Weight()).c_str());
        e.append_attribute("charset").set_value(numberToText(f->Charset()).c_str());
        return;
    }
    if (auto p = std::dynamic_pointer_cast<Picture>(o)) {
        type("Picture");
        if (p->Handle() == 0) return;
        if (!p->sourcePath().empty()) {
            if (storage == XmlPropertyBag::PictureStorage::ByPath) {
                e.append_attribute("file").set_value(p->sourcePath().c_str());
                return;
            }
            std::string bytes;
            if (xml::readFile(p->sourcePath(), bytes) == xml::ReadStatus::Ok && !bytes.empty()) {
                e.append_attribute("data").set_value(toBase64(bytes).c_str());
                return;
            }
        }
        e.append_attribute("data").set_value(toBase64(pngOf(*p)).c_str());
        return;
    }
    type("Nothing");  // references to other objects cannot live in a file
}

// The value of one entry, or the reason it cannot be read and the error reading its key will raise
// (380 unless the entry's own loading says otherwise).
std::optional<Variant> readEntry(pugi::xml_node e, std::string& why, int32_t& number,
                                 std::string& description) {
    const std::string type = e.attribute("type").value();
    const pugi::xml_attribute valueAttr = e.attribute("value");
    const std::string_view text = valueAttr.value();
    auto needValue = [&]() {
        if (!valueAttr) why = "it has no value";
        return bool(valueAttr);
    };
    auto bad = [&]() -> std::optional<Variant> {
        why = "'" + std::string(text) + "' is not a " + type + " value";
        return std::nullopt;
    };
    if (type == "Empty") return Variant();
    if (type == "Null") return Variant(Null{});
    if (type == "Nothing") return Variant(std::shared_ptr<Object>());
    if (type == "Integer" || type == "Long") {
        if (!needValue()) return std::nullopt;
        auto v = textToNumber<int64_t>(text);
        if (!v) return bad();
        if (type == "Integer") {
            if (*v < INT16_MIN || *v > INT16_MAX) return bad();
            return Variant(static_cast<int16_t>(*v));
        }
        if (*v < INT32_MIN || *v > INT32_MAX) return bad();
        return Variant(static_cast<int32_t>(*v));
    }
    if (type == "Single") {
        if (!needValue()) return std::nullopt;
        auto v = textToNumber<float>(text);
        return v ? std::optional<Variant>(Variant(*v)) : bad();
    }
    if (type == "Double") {
        if (!needValue()) return std::nullopt;
        auto v = textToNumber<double>(text);
        return v ? std::optional<Variant>(Variant(*v)) : bad();
    }
    if (type == "Boolean") {
        if (!needValue()) return std::nullopt;
        auto v = textToBool(text);
        return v ? std::optional<Variant>(Variant(*v)) : bad();
    }
    if (type == "Date") {
        if (!needValue()) return std::nullopt;
        auto v = textToDate(text);
        return v ? std::optional<Variant>(Variant(*v)) : bad();
    }
    if (type == "String") {
        if (pugi::xml_attribute b = e.attribute("base64")) {
            auto s = fromBase64(b.value());
            if (!s) {
                why = "its base64 text is damaged";
                return std::nullopt;
            }
            return Variant(std::move(*s));
        }
        if (!needValue()) return std::nullopt;
        return Variant(std::string(text));
    }
    if (type == "Font") {
        auto f = std::make_shared<Font>();
        if (!e.attribute("fontName")) {
            why = "the font has no name";
            return std::nullopt;
        }
        f->setName(e.attribute("fontName").value());
        auto flag = [&](const char* name, bool& out) {
            if (!e.attribute(name)) return true;
            auto b = textToBool(e.attribute(name).value());
            if (b) out = *b;
            return b.has_value();
        };
        bool bold = false, italic = false, underline = false, strike = false;
        auto size = textToNumber<float>(e.attribute("size").value());
        auto weight = textToNumber<int>(e.attribute("weight").value());
        auto charset = textToNumber<int>(e.attribute("charset").value());
        if (!size || !std::isfinite(*size) || *size <= 0 || !flag("bold", bold) || !flag("italic", italic) ||
            !flag("underline", underline) || !flag("strikethrough", strike) ||
            (e.attribute("weight") && (!weight || *weight < 0 || *weight > 1000)) ||
            (e.attribute("charset") && (!charset || *charset < 0 || *charset > 255))) {
            why = "the font's attributes are damaged";
            return std::nullopt;
        }
        f->setSize(*size);
        f->setBold(bold);
        if (weight) f->setWeight(static_cast<int16_t>(*weight));
        f->setItalic(italic);
        f->setUnderline(underline);
        f->setStrikethrough(strike);
        if (charset) f->setCharset(static_cast<int16_t>(*charset));
        return Variant(f);
    }
    if (type == "Picture") {
        try {
            if (pugi::xml_attribute file = e.attribute("file")) return Variant(loadPicture(file.value()));
            if (pugi::xml_attribute data = e.attribute("data")) {
                auto bytes = fromBase64(data.value());
                if (!bytes || bytes->empty()) {
                    why = "its picture data is damaged";
                    return std::nullopt;
                }
                return Variant(
                    pictureFromBytes(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()));
            }
            return Variant(emptyPicture());
        } catch (const AutomationError& error) {
            why = "its picture cannot be loaded (" + error.description() + ")";
            number = error.number();
            description = error.description();
            return std::nullopt;
        }
    }
    why = type.empty() ? "it has no type" : "the type '" + type + "' is unknown";
    return std::nullopt;
}

constexpr unsigned kParseFlags = pugi::parse_escapes | pugi::parse_declaration | pugi::parse_comments;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The name of a property entry on a line that does not parse as a whole (cut off, or broken after
// its name), when the attributes up to and including the name are still intact.
std::optional<std::string> nameOfBrokenEntry(std::string_view line) {
    constexpr std::string_view kOpen = "<property";
    if (!line.starts_with(kOpen) || line.size() == kOpen.size() || !isSpace(line[kOpen.size()]))
        return std::nullopt;
    size_t i = kOpen.size();
    auto isNameChar = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
               c == ':' || c == '-' || c == '.';
    };
    while (true) {
        while (i < line.size() && isSpace(line[i])) ++i;
        const size_t nameStart = i;
        while (i < line.size() && isNameChar(line[i])) ++i;
        const std::string_view attribute = line.substr(nameStart, i - nameStart);
        if (attribute.empty()) return std::nullopt;
        while (i < line.size() && isSpace(line[i])) ++i;
        if (i >= line.size() || line[i] != '=') return std::nullopt;
        ++i;
        while (i < line.size() && isSpace(line[i])) ++i;
        if (i >= line.size() || (line[i] != '"' && line[i] != '\'')) return std::nullopt;
        const char quote = line[i++];
        const size_t close = line.find(quote, i);
        if (close == std::string_view::npos) return std::nullopt;
        const std::string_view raw = line.substr(i, close - i);
        i = close + 1;
        if (attribute != "name") continue;
        // Let the parser undo the escapes, and refuse text no attribute could hold.
        std::string piece = "<n v=";
        piece += quote;
        piece += raw;
        piece += quote;
        piece += "/>";
        pugi::xml_document doc;
        if (!doc.load_buffer(piece.data(), piece.size(), kParseFlags, pugi::encoding_utf8))
            return std::nullopt;
        std::string name = doc.first_child().attribute("v").value();
        if (name.empty()) return std::nullopt;
        return name;
    }
}

}  // namespace

Variant XmlPropertyBag::ReadProperty(std::string_view name, const Variant& defaultValue) {
    for (const Damage& d : damaged_)
        if (d.name == name) raise(d.number, d.description);
    for (const auto& [key, value] : entries_) {
        if (key != name) continue;
        if (const auto* o = value.get<std::shared_ptr<Object>>())
            if (auto f = std::dynamic_pointer_cast<Font>(*o)) return Variant(f->clone());
        return value;
    }
    return defaultValue;
}

void XmlPropertyBag::WriteProperty(std::string_view name, const Variant& value, const Variant& defaultValue) {
    if (value.isArray()) raise(err::TypeMismatch, "An array cannot be stored in a property file.");
    forgetDamage(name);
    if (sameValue(value, defaultValue)) {
        remove(name);
        return;
    }
    Variant stored = value;
    if (const auto* o = value.get<std::shared_ptr<Object>>())
        if (auto f = std::dynamic_pointer_cast<Font>(*o)) stored = Variant(f->clone());
    for (auto& [key, v] : entries_) {
        if (key == name) {
            v = std::move(stored);
            return;
        }
    }
    entries_.emplace_back(std::string(name), std::move(stored));
}

bool XmlPropertyBag::contains(std::string_view name) const {
    for (const auto& e : entries_)
        if (e.first == name) return true;
    return false;
}

void XmlPropertyBag::remove(std::string_view name) {
    std::erase_if(entries_, [&](const auto& e) { return e.first == name; });
    forgetDamage(name);
}

void XmlPropertyBag::forgetDamage(std::string_view name) {
    std::erase_if(damaged_, [&](const Damage& d) { return d.name == name; });
}

std::vector<std::string> XmlPropertyBag::damaged() const {
    std::vector<std::string> out;
    for (const Damage& d : damaged_) out.push_back(d.name);
    return out;
}

std::vector<std::string> XmlPropertyBag::keys() const {
    std::vector<std::string> out;
    for (const auto& e : entries_) out.push_back(e.first);
    return out;
}

void XmlPropertyBag::save(const std::string& path) const {
    std::error_code ec;
    if (!unreadFile_.empty() && (path == unreadFile_ || std::filesystem::equivalent(path, unreadFile_, ec)))
        raise(err::PathFileAccessError,
              "The file " + path + " could not be read as a form file, so it is not overwritten.");
    pugi::xml_document doc;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version").set_value("1.0");
    decl.append_attribute("encoding").set_value("UTF-8");
    pugi::xml_node root = doc.append_child("properties");
    root.append_attribute("version").set_value("1");
    for (const auto& [name, value] : entries_) writeEntry(root, name, value, pictureStorage_);
    // Texts that XML cannot hold go as base64; a key or font name that holds such a character, or
    // anything else that would not read back, fails the save before the file is touched.
    std::string markup;
    if (std::string why = xml::detail::writeMarkup(doc, xml::detail::WriteStyle{}, markup); !why.empty())
        raise(err::InvalidProcedureCall, why + " The form file was not saved.");
    if (const xml::detail::Verdict v = xml::detail::checkWellFormed(markup); v.code)
        raise(err::InvalidProcedureCall,
              "The form file would not read back (" + v.reason + "), so it was not saved.");
    xml::writeFileAtomically(path, markup);
}

bool XmlPropertyBag::load(const std::string& path) {
    entries_.clear();
    problems_.clear();
    damaged_.clear();
    unreadFile_.clear();
    std::string bytes;
    switch (xml::readFile(path, bytes)) {
        case xml::ReadStatus::NotFound:
            problems_.push_back("The file " + path + " does not exist.");
            return false;
        case xml::ReadStatus::Unreadable:
            problems_.push_back("The file " + path + " cannot be read.");
            unreadFile_ = path;
            return false;
        case xml::ReadStatus::Ok:
            break;
    }
    auto markDamaged = [&](const std::string& name, int32_t number, std::string description) {
        remove(name);
        damaged_.push_back({name, number, std::move(description)});
    };
    auto take = [&](pugi::xml_node e, const std::string& where) {
        const pugi::xml_attribute name = e.attribute("name");
        if (!name || !*name.value()) {
            problems_.push_back(where + "an entry without a name was skipped.");
            return;
        }
        std::string why;
        int32_t number = err::InvalidPropertyValue;
        std::string description = errorText(number);
        // A later entry of the same name replaces an earlier one, whether either is damaged or not.
        if (auto v = readEntry(e, why, number, description)) {
            forgetDamage(name.value());
            for (auto& [key, value] : entries_)
                if (key == name.value()) {
                    value = std::move(*v);
                    return;
                }
            entries_.emplace_back(name.value(), std::move(*v));
        } else {
            problems_.push_back(where + "\"" + name.value() + "\" was not loaded: " + why + ".");
            markDamaged(name.value(), number, std::move(description));
        }
    };

    pugi::xml_document doc;
    const pugi::xml_parse_result result =
        doc.load_buffer(bytes.data(), bytes.size(), kParseFlags, pugi::encoding_utf8);
    if (result) {
        const pugi::xml_node root = doc.child("properties");
        if (!root) {
            problems_.push_back("The file is not a property file (no properties element).");
            unreadFile_ = path;
            return false;
        }
        for (pugi::xml_node e = root.first_child(); e; e = e.next_sibling()) {
            if (e.type() != pugi::node_element) continue;
            if (std::string_view(e.name()) != "property") {
                problems_.push_back("An unknown element <" + std::string(e.name()) + "> was skipped.");
                continue;
            }
            take(e, "");
        }
        return problems_.empty();
    }

    // A damaged file: every entry sits on its own line, so each line that holds a whole entry is
    // read on its own and the others are reported.
    problems_.push_back("The file is damaged (" + std::string(result.description()) +
                        "); the readable entries were loaded.");
    size_t lineNumber = 0;
    for (size_t start = 0; start < bytes.size();) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string_view line(bytes.data() + start, end - start);
        start = end + 1;
        ++lineNumber;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
            line.remove_suffix(1);
        if (line.empty() || line.starts_with("<?xml") || line.starts_with("<properties") ||
            line == "</properties>" || line.starts_with("<!--"))
            continue;
        const std::string where = "Line " + std::to_string(lineNumber) + ": ";
        pugi::xml_document piece;
        const bool ok = piece.load_buffer(line.data(), line.size(), kParseFlags, pugi::encoding_utf8) &&
                        std::string_view(piece.first_child().name()) == "property" &&
                        !piece.first_child().next_sibling();
        if (ok) {
            take(piece.first_child(), where);
        } else if (auto name = nameOfBrokenEntry(line)) {
            problems_.push_back(where + "\"" + *name + "\" was not loaded: its entry is damaged or cut off.");
            markDamaged(*name, err::InvalidPropertyValue, errorText(err::InvalidPropertyValue));
        } else {
            problems_.push_back(where + "damaged text was skipped.");
        }
    }
    // Nothing of it could be read: it may well be another kind of file, which a save must not destroy.
    if (entries_.empty() && damaged_.empty() && bytes.find_first_not_of(" \t\r\n") != std::string::npos)
        unreadFile_ = path;
    return false;
}

}  // namespace ax
