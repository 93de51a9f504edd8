// Helpers of data exchange that hosts may call as well: the object test applied to a recordset
// argument, the XML name rule and the encoding names offered by CreateXMLDoc.
#pragma once
#include <cstdint>
#include <string_view>

#include "platform/automation/variant.h"

namespace vantrel {

// True when the argument holds a set object reference; False for Nothing, for anything that is not
// an object and when the test itself fails.
bool IsObjectSet(const ax::Variant& reference) noexcept;

// A name the grid accepts for an element or attribute: ASCII letters, digits and "_", not starting
// with a digit. Stricter than XML itself, so that every accepted name is safe in any document.
bool IsValidXMLName(std::string_view name) noexcept;

// The encoding named in the declaration that CreateXMLDoc writes; empty for values outside 0..8.
// Value 8 ("NONE") means a declaration without an encoding.
enum XMLEncodingKind : int32_t {
    XMLEncodingUTF8 = 0,
    XMLEncodingUTF16 = 1,
    XMLEncodingUCS2 = 2,
    XMLEncodingUCS4 = 3,
    XMLEncodingISO10646UCS2 = 4,
    XMLEncodingUnicode11UTF8 = 5,
    XMLEncodingUnicode20UTF16 = 6,
    XMLEncodingUnicode20UTF8 = 7,
    XMLEncodingNone = 8,
};
std::string_view XMLEncodingText(int32_t encoding) noexcept;

}  // namespace vantrel
