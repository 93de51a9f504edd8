// UTF-8 encoding of single characters, shared by the controls that build texts from key codes and
// by the XML layer that decodes 8-bit files.
#pragma once
#include <string>

namespace ax {

// Appends a character's UTF-8 bytes; a surrogate half or a value beyond Unicode becomes U+FFFD.
void appendUtf8(std::string& out, char32_t c);
std::string encodeUtf8(char32_t c);

}  // namespace ax
