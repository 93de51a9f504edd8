#include "platform/xml/encodings.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <initializer_list>

#include "platform/automation/utf8.h"

namespace ax::xml::encoding {

namespace {

using Names = std::initializer_list<std::string_view>;

struct Entry {
    Charset charset;
    Names aliases;  // the registry's aliases, and the few other names files are known to carry
};

// The encodings read and written, under the registry's names and aliases. The names of the grid's
// own document encodings (UCS-2, UCS-4 and the UNICODE-... names) are there too, as is "latin-1",
// which files carry although the registry does not list it.
const std::array<Entry, 44> kCharsets = {{
    {{"UTF-8", nullptr, Family::Utf8, ByteOrder::Any}, {"csUTF8", "UNICODE-1-1-UTF-8", "UNICODE-2-0-UTF-8"}},
    {{"UTF-16", "UTF-16", Family::Utf16, ByteOrder::Any},
     {"csUTF16", "UCS-2", "ISO-10646-UCS-2", "csUnicode", "UNICODE-2-0-UTF-16"}},
    {{"UTF-16LE", "UTF-16LE", Family::Utf16, ByteOrder::Little}, {"csUTF16LE"}},
    {{"UTF-16BE", "UTF-16BE", Family::Utf16, ByteOrder::Big}, {"csUTF16BE"}},
    {{"UTF-32", "UTF-32", Family::Utf32, ByteOrder::Any}, {"csUTF32", "UCS-4", "ISO-10646-UCS-4", "csUCS4"}},
    {{"UTF-32LE", "UTF-32LE", Family::Utf32, ByteOrder::Little}, {"csUTF32LE"}},
    {{"UTF-32BE", "UTF-32BE", Family::Utf32, ByteOrder::Big}, {"csUTF32BE"}},
    {{"US-ASCII", "ANSI_X3.4-1968", Family::AsciiBased, ByteOrder::Any},
     {"iso-ir-6", "ANSI_X3.4-1968", "ANSI_X3.4-1986", "ISO_646.irv:1991", "ISO646-US", "us", "IBM367",
      "cp367", "csASCII"}},
    {{"ISO-8859-1", "ISO-8859-1", Family::AsciiBased, ByteOrder::Any},
     {"ISO_8859-1:1987", "iso-ir-100", "ISO_8859-1", "latin1", "l1", "IBM819", "CP819", "csISOLatin1",
      "latin-1"}},
    {{"ISO-8859-2", "ISO-8859-2", Family::AsciiBased, ByteOrder::Any},
     {"ISO_8859-2:1987", "iso-ir-101", "ISO_8859-2", "latin2", "l2", "csISOLatin2"}},
    {{"ISO-8859-3", "ISO-8859-3", Family::AsciiBased, ByteOrder::Any},
     {"ISO_8859-3:1988", "iso-ir-109", "ISO_8859-3", "latin3", "l3", "csISOLatin3"}},
    {{"ISO-8859-4", "ISO-8859-4", Family::AsciiBased, ByteOrder::Any},
     {"ISO_8859-4:1988", "iso-ir-110", "ISO_8859-4", "latin4", "l4", "csISOLatin4"}},
    {{"ISO-8859-5", "ISO-8859-5", Family::AsciiBased, ByteOrder::Any},
     {"ISO_8859-5:1988", "iso-ir-144", "ISO_8859-5", "cyrillic", "csISOLatinCyrillic"}},
    {{"ISO-8859-6", "ISO-8859-6", Family::AsciiBased, ByteOrder::Any},
     {"ISO_8859-6:1987", "iso-ir-127", "ISO_8859-6", "ECMA-114", "ASMO-708", "arabic", "csISOLatinArabic"}},
    {{"ISO-8859-7", "ISO-8859-7", Family::AsciiBased, ByteOrder::Any},
     {"ISO_8859-7:1987", "iso-ir-126", "ISO_8859-7", "ELOT_928", "ECMA-118", "greek", "greek8",
      "csISOLatinGreek"}},
    {{"ISO-8859-8", "ISO-8859-8", Family::AsciiBased, ByteOrder::Any},
     {"ISO_8859-8:1988", "iso-ir-138", "ISO_8859-8", "hebrew", "csISOLatinHebrew"}},
    {{"ISO-8859-9", "ISO-8859-9", Family::AsciiBased, ByteOrder::Any},
     {"ISO_8859-9:1989", "iso-ir-148", "ISO_8859-9", "latin5", "l5", "csISOLatin5"}},
    {{"ISO-8859-10", "ISO-8859-10", Family::AsciiBased, ByteOrder::Any},
     {"iso-ir-157", "l6", "ISO_8859-10:1992", "csISOLatin6", "latin6"}},
    {{"ISO-8859-13", "ISO-8859-13", Family::AsciiBased, ByteOrder::Any}, {"csISO885913"}},
    {{"ISO-8859-14", "ISO-8859-14", Family::AsciiBased, ByteOrder::Any},
     {"iso-ir-199", "ISO_8859-14:1998", "ISO_8859-14", "latin8", "iso-celtic", "l8", "csISO885914"}},
    {{"ISO-8859-15", "ISO-8859-15", Family::AsciiBased, ByteOrder::Any},
     {"ISO_8859-15", "Latin-9", "csISO885915"}},
    {{"ISO-8859-16", "ISO-8859-16", Family::AsciiBased, ByteOrder::Any},
     {"iso-ir-226", "ISO_8859-16:2001", "ISO_8859-16", "latin10", "l10", "csISO885916"}},
    {{"windows-1250", "CP1250", Family::AsciiBased, ByteOrder::Any}, {"cswindows1250"}},
    {{"windows-1251", "CP1251", Family::AsciiBased, ByteOrder::Any}, {"cswindows1251"}},
    {{"windows-1252", "CP1252", Family::AsciiBased, ByteOrder::Any}, {"cswindows1252"}},
    {{"windows-1253", "CP1253", Family::AsciiBased, ByteOrder::Any}, {"cswindows1253"}},
    {{"windows-1254", "CP1254", Family::AsciiBased, ByteOrder::Any}, {"cswindows1254"}},
    {{"windows-1255", "CP1255", Family::AsciiBased, ByteOrder::Any}, {"cswindows1255"}},
    {{"windows-1256", "CP1256", Family::AsciiBased, ByteOrder::Any}, {"cswindows1256"}},
    {{"windows-1257", "CP1257", Family::AsciiBased, ByteOrder::Any}, {"cswindows1257"}},
    {{"windows-1258", "CP1258", Family::AsciiBased, ByteOrder::Any}, {"cswindows1258"}},
    {{"IBM437", "CP437", Family::AsciiBased, ByteOrder::Any}, {"cp437", "437", "csPC8CodePage437"}},
    {{"IBM850", "CP850", Family::AsciiBased, ByteOrder::Any}, {"cp850", "850", "csPC850Multilingual"}},
    {{"IBM866", "CP866", Family::AsciiBased, ByteOrder::Any}, {"cp866", "866", "csIBM866"}},
    {{"KOI8-R", "KOI8-R", Family::AsciiBased, ByteOrder::Any}, {"csKOI8R"}},
    {{"KOI8-U", "KOI8-U", Family::AsciiBased, ByteOrder::Any}, {"csKOI8U"}},
    {{"TIS-620", "TIS-620", Family::AsciiBased, ByteOrder::Any}, {"csTIS620", "ISO-8859-11"}},
    {{"Shift_JIS", "SHIFT_JIS", Family::AsciiBased, ByteOrder::Any}, {"MS_Kanji", "csShiftJIS"}},
    {{"EUC-JP", "EUC-JP", Family::AsciiBased, ByteOrder::Any},
     {"Extended_UNIX_Code_Packed_Format_for_Japanese", "csEUCPkdFmtJapanese"}},
    {{"GBK", "GBK", Family::AsciiBased, ByteOrder::Any}, {"CP936", "MS936", "windows-936", "csGBK"}},
    {{"GB2312", "GB2312", Family::AsciiBased, ByteOrder::Any}, {"csGB2312"}},
    {{"GB18030", "GB18030", Family::AsciiBased, ByteOrder::Any}, {"csGB18030"}},
    {{"Big5", "BIG5", Family::AsciiBased, ByteOrder::Any}, {"csBig5"}},
    {{"EUC-KR", "EUC-KR", Family::AsciiBased, ByteOrder::Any}, {"csEUCKR"}},
}};

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// An iconv conversion, closed when it goes.
class Conversion {
  public:
    Conversion(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
    ~Conversion() {
        if (ok()) ::iconv_close(cd_);
    }
    Conversion(const Conversion&) = delete;
    Conversion& operator=(const Conversion&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of `in` as it can, appending to `out`; `in` keeps what was not converted.
    // The result is 0, or the errno that stopped it (EILSEQ, EINVAL).
    int run(std::string_view& in, std::string& out) {
        char* src = const_cast<char*>(in.data());
        size_t left = in.size();
        int error = 0;
        while (left > 0) {
            const size_t at = out.size();
            out.resize(at + left * 2 + 16);
            char* dst = out.data() + at;
            size_t room = out.size() - at;
            const size_t r = ::iconv(cd_, &src, &left, &dst, &room);
            out.resize(out.size() - room);
            if (r != static_cast<size_t>(-1)) break;
            if (errno == E2BIG) continue;
            error = errno;
            break;
        }
        if (!error) {
            // Ends a shift sequence of a stateful encoding.
            char buffer[16];
            char* dst = buffer;
            size_t room = sizeof buffer;
            if (::iconv(cd_, nullptr, nullptr, &dst, &room) != static_cast<size_t>(-1))
                out.append(buffer, sizeof buffer - room);
        }
        in.remove_prefix(in.size() - left);
        return error;
    }

  private:
    iconv_t cd_;
};

const Charset& utf8() { return kCharsets[0].charset; }

const char* familyText(Family f, ByteOrder order) {
    switch (f) {
        case Family::Utf16:
            return order == ByteOrder::Big ? "UTF-16 big-endian" : "UTF-16 little-endian";
        case Family::Utf32:
            return order == ByteOrder::Big ? "UTF-32 big-endian" : "UTF-32 little-endian";
        default:
            return "8-bit";
    }
}

// What the first bytes say: a byte-order mark, or the way "<?" is laid out.
struct Detected {
    Family family = Family::AsciiBased;
    ByteOrder order = ByteOrder::Any;
    size_t bom = 0;
};

Detected detect(std::string_view b) {
    auto starts = [&](std::string_view s) { return b.substr(0, s.size()) == s; };
    using namespace std::string_view_literals;
    if (starts("\x00\x00\xFE\xFF"sv)) return {Family::Utf32, ByteOrder::Big, 4};
    if (starts("\xFF\xFE\x00\x00"sv)) return {Family::Utf32, ByteOrder::Little, 4};
    if (starts("\xFE\xFF"sv)) return {Family::Utf16, ByteOrder::Big, 2};
    if (starts("\xFF\xFE"sv)) return {Family::Utf16, ByteOrder::Little, 2};
    if (starts("\xEF\xBB\xBF"sv)) return {Family::Utf8, ByteOrder::Any, 3};
    if (starts("\x00\x00\x00<"sv)) return {Family::Utf32, ByteOrder::Big, 0};
    if (starts("<\x00\x00\x00"sv)) return {Family::Utf32, ByteOrder::Little, 0};
    if (starts("\x00<\x00?"sv)) return {Family::Utf16, ByteOrder::Big, 0};
    if (starts("<\x00?\x00"sv)) return {Family::Utf16, ByteOrder::Little, 0};
    return {};
}

// The ASCII characters at the start of 16- or 32-bit text, enough to hold a declaration.
std::string asciiPrefix(std::string_view b, size_t unit, ByteOrder order) {
    std::string out;
    for (size_t i = 0; i + unit <= b.size() && out.size() < 512; i += unit) {
        const size_t low = order == ByteOrder::Big ? i + unit - 1 : i;
        bool ascii = static_cast<unsigned char>(b[low]) < 0x80;
        for (size_t k = i; k < i + unit && ascii; ++k)
            if (k != low && b[k] != '\0') ascii = false;
        if (!ascii) break;
        out += b[low];
    }
    return out;
}

const char* iconvNameOf(Family f, ByteOrder order) {
    if (f == Family::Utf16) return order == ByteOrder::Big ? "UTF-16BE" : "UTF-16LE";
    return order == ByteOrder::Big ? "UTF-32BE" : "UTF-32LE";
}

}  // namespace

const Charset* named(std::string_view declared) {
    if (declared.empty()) return &utf8();
    for (const Entry& e : kCharsets) {
        if (sameName(declared, e.charset.name)) return &e.charset;
        for (std::string_view alias : e.aliases)
            if (sameName(declared, alias)) return &e.charset;
    }
    return nullptr;
}

std::string declaredIn(std::string_view text) {
    if (text.substr(0, 5) != "<?xml" || text.size() < 6 ||
        (text[5] != ' ' && text[5] != '\t' && text[5] != '\r' && text[5] != '\n'))
        return std::string();
    const size_t end = text.find("?>");
    const std::string_view declaration = text.substr(0, end == std::string_view::npos ? 0 : end);
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

Decoded decode(std::string_view bytes) {
    Decoded out;
    const Detected d = detect(bytes);
    out.skip = d.bom;
    const std::string_view body = bytes.substr(d.bom);
    const std::string prefix = d.family == Family::Utf16   ? asciiPrefix(body, 2, d.order)
                               : d.family == Family::Utf32 ? asciiPrefix(body, 4, d.order)
                                                           : std::string(body.substr(0, 512));
    const std::string name = declaredIn(prefix);
    const Charset* declared = named(name);
    if (!declared) {
        out.status = Decoded::Status::Unsupported;
        out.reason = "The encoding '" + name + "' is not supported.";
        return out;
    }
    auto mismatch = [&](std::string why) {
        out.status = Decoded::Status::Mismatch;
        out.reason = std::move(why);
        return out;
    };
    // Without a declaration, the bytes decide (8-bit bytes are UTF-8); with one, the two must agree.
    Family family = d.family == Family::AsciiBased ? Family::Utf8 : d.family;
    ByteOrder order = d.order;
    if (!name.empty()) {
        const bool wide = d.family == Family::Utf16 || d.family == Family::Utf32;
        const bool agrees = wide ? declared->family == d.family &&
                                       (declared->order == ByteOrder::Any || declared->order == d.order)
                            : d.family == Family::Utf8
                                ? declared->family == Family::Utf8
                                : declared->family == Family::Utf8 || declared->family == Family::AsciiBased;
        if (!agrees)
            return mismatch("The document declares the encoding '" + name + "', but its bytes are " +
                            (d.family == Family::Utf8 ? std::string("UTF-8 (byte-order mark)")
                                                      : familyText(d.family, d.order)) +
                            ".");
        if (!wide) family = declared->family;
    }
    if (family == Family::Utf8) return out;

    const char* from = family == Family::AsciiBased ? declared->iconvName : iconvNameOf(family, order);
    Conversion conversion("UTF-8", from);
    if (!conversion.ok()) {
        out.status = Decoded::Status::Unsupported;
        out.reason = "The encoding '" + name + "' is not supported.";
        return out;
    }
    out.converted = true;
    out.text.reserve(body.size() + body.size() / 4);
    std::string_view rest = body;
    if (conversion.run(rest, out.text) != 0)
        return mismatch("The document holds bytes that are not valid " +
                        std::string(name.empty() ? familyText(family, order) : name) + " text.");
    return out;
}

Repertoire::Repertoire(const Charset& charset) : cd_(nullptr) {
    if (charset.family != Family::AsciiBased) return;
    const iconv_t cd = ::iconv_open(charset.iconvName, "UTF-8");
    if (cd != reinterpret_cast<iconv_t>(-1)) cd_ = cd;
}

Repertoire::~Repertoire() {
    if (cd_) ::iconv_close(static_cast<iconv_t>(cd_));
}

bool Repertoire::holds(char32_t c) {
    if (!cd_ || c < 0x80) return true;
    if (auto it = known_.find(c); it != known_.end()) return it->second;
    std::string in;
    appendUtf8(in, c);
    char out[16];
    char* src = in.data();
    size_t left = in.size();
    char* dst = out;
    size_t room = sizeof out;
    const auto cd = static_cast<iconv_t>(cd_);
    const bool held = ::iconv(cd, &src, &left, &dst, &room) != static_cast<size_t>(-1) && left == 0;
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    known_.emplace(c, held);
    return held;
}

std::optional<std::string> encode(std::string_view utf8Markup, const Charset& charset) {
    if (charset.family == Family::Utf8) return std::string(utf8Markup);
    // UTF-16 carries a byte-order mark, as XML asks; UTF-32 goes without one, in the order that
    // readers detect from the first character.
    const bool big = charset.order == ByteOrder::Big ||
                     (charset.family == Family::Utf32 && charset.order == ByteOrder::Any);
    const char* to = charset.family == Family::AsciiBased
                         ? charset.iconvName
                         : iconvNameOf(charset.family, big ? ByteOrder::Big : ByteOrder::Little);
    Conversion conversion(to, "UTF-8");
    if (!conversion.ok()) return std::nullopt;
    std::string out(charset.family == Family::Utf16 ? (big ? "\xFE\xFF" : "\xFF\xFE") : "");
    out.reserve(out.size() + utf8Markup.size() * (charset.family == Family::Utf32 ? 4 : 1));
    if (conversion.run(utf8Markup, out) != 0) return std::nullopt;
    return out;
}

}  // namespace ax::xml::encoding
