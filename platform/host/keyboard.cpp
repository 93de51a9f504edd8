#include "platform/host/host_site.h"

namespace ax {

int16_t keyAsciiFor(int16_t code, int16_t shift) {
    const bool shifted = shift & shiftmask::Shift;
    if (shift & shiftmask::Alt) return 0;
    if (shift & shiftmask::Ctrl) {
        if (code >= 'A' && code <= 'Z') return int16_t(code - 'A' + 1);
        if (code == key::Return) return 10;
        if (code == key::Back) return 127;
        return 0;
    }
    if (code >= 'A' && code <= 'Z') return shifted ? code : int16_t(code + 32);
    if (code >= '0' && code <= '9') return shifted ? int16_t(")!@#$%^&*("[code - '0']) : code;
    if (code == key::Space || code == key::Return || code == key::Escape || code == key::Back) return code;
    if (code >= 96 && code <= 105) return int16_t('0' + code - 96);  // numeric keypad
    switch (code) {
        case 106:
            return '*';
        case 107:
            return '+';
        case 109:
            return '-';
        case 110:
            return '.';
        case 111:
            return '/';
        case 186:
            return shifted ? ':' : ';';
        case 187:
            return shifted ? '+' : '=';
        case 188:
            return shifted ? '<' : ',';
        case 189:
            return shifted ? '_' : '-';
        case 190:
            return shifted ? '>' : '.';
        case 191:
            return shifted ? '?' : '/';
        case 192:
            return shifted ? '~' : '`';
        case 219:
            return shifted ? '{' : '[';
        case 220:
            return shifted ? '|' : '\\';
        case 221:
            return shifted ? '}' : ']';
        case 222:
            return shifted ? '"' : '\'';
        default:
            return 0;
    }
}

namespace hosting {

void keyForCharacter(uint32_t cp, int16_t& code, int16_t& shift) {
    shift = 0;
    if (cp == '\n' || cp == '\r') {
        code = key::Return;
        return;
    }
    if (cp == '\t') {
        code = key::Tab;
        return;
    }
    if (cp < 128) {
        for (int16_t k = 0; k < 256; ++k) {
            for (int16_t s : {int16_t(0), shiftmask::Shift}) {
                if (k >= 96 && k <= 111) continue;  // prefer the main keyboard to the keypad
                if (keyAsciiFor(k, s) == int16_t(cp)) {
                    code = k;
                    shift = s;
                    return;
                }
            }
        }
    }
    code = 231;
}

std::vector<uint32_t> decodeUtf8(std::string_view s) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        uint32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        bool ok = len > 0 && i + len <= s.size();
        for (int k = 1; ok && k < len; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            ok = (c >> 6) == 2;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);  // an invalid byte types the replacement character
            ++i;
            continue;
        }
        out.push_back(cp);
        i += size_t(len);
    }
    return out;
}

}  // namespace hosting

}  // namespace ax
