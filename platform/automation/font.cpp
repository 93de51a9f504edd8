#include "platform/automation/font.h"

#include <cmath>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/automation/text.h"

namespace ax {

namespace {

// Member names match whatever their case.
bool sameName(std::string_view a, std::string_view b) { return detail::equalsNoCase(a, b); }

enum class Member { None, Name, Size, Bold, Italic, Underline, Strikethrough, Weight, Charset };

Member memberOf(std::string_view name) {
    static const struct {
        const char* name;
        Member member;
    } kMembers[] = {{"Name", Member::Name},           {"Size", Member::Size},
                    {"Bold", Member::Bold},           {"Italic", Member::Italic},
                    {"Underline", Member::Underline}, {"Strikethrough", Member::Strikethrough},
                    {"Weight", Member::Weight},       {"Charset", Member::Charset}};
    for (const auto& m : kMembers)
        if (sameName(name, m.name)) return m.member;
    return Member::None;
}

// Late-bound callers do not always tell a property get from a method call, nor a let from a set.
bool isGet(InvokeKind k) { return k == InvokeKind::PropertyGet || k == InvokeKind::Method; }
bool isPut(InvokeKind k) { return k == InvokeKind::PropertyPut || k == InvokeKind::PropertyPutRef; }

}  // namespace

void Font::setSize(float v) {
    if (!std::isfinite(v) || v < 0) raise(err::InvalidPropertyValue);
    // Automation keeps font sizes as fixed-point numbers with four decimals.
    size_ = static_cast<float>(std::round(double(v) * 10000.0) / 10000.0);
}

bool Font::sameAs(const Font& o) const {
    return name_ == o.name_ && size_ == o.size_ && italic_ == o.italic_ && underline_ == o.underline_ &&
           strikethrough_ == o.strikethrough_ && weight_ == o.weight_ && charset_ == o.charset_;
}

Variant Font::Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) {
    Member m = memberOf(name);
    if (m == Member::None || !(isGet(kind) || isPut(kind))) raise(err::MemberNotFound);
    if (isGet(kind)) {
        if (!args.empty()) raise(err::WrongArgumentCount);
        switch (m) {
            case Member::Name:
                return Variant(name_);
            case Member::Size:
                return Variant(Size());
            case Member::Bold:
                return Variant(Bold());
            case Member::Italic:
                return Variant(italic_);
            case Member::Underline:
                return Variant(underline_);
            case Member::Strikethrough:
                return Variant(strikethrough_);
            case Member::Weight:
                return Variant(weight_);
            case Member::Charset:
                return Variant(charset_);
            case Member::None:
                break;
        }
        raise(err::MemberNotFound);
    }
    if (args.size() != 1) raise(err::WrongArgumentCount);
    const Variant& v = args.back();
    switch (m) {
        case Member::Name:
            setName(cStr(v));
            break;
        case Member::Size:
            setSize(cSng(v));
            break;
        case Member::Bold:
            setBold(cBool(v));
            break;
        case Member::Italic:
            setItalic(cBool(v));
            break;
        case Member::Underline:
            setUnderline(cBool(v));
            break;
        case Member::Strikethrough:
            setStrikethrough(cBool(v));
            break;
        case Member::Weight:
            setWeight(cInt(v));
            break;
        case Member::Charset:
            setCharset(cInt(v));
            break;
        case Member::None:
            raise(err::MemberNotFound);
    }
    return {};
}

bool Font::HasMember(std::string_view name, InvokeKind kind) const {
    return memberOf(name) != Member::None && (isGet(kind) || isPut(kind));
}

}  // namespace ax
