// OLE colours: 32-bit values, RGB as r + 256 g + 65536 b; bit 31 set names a system colour by its low byte.
#pragma once
#include <cstdint>

namespace ax {

using OleColor = uint32_t;

constexpr OleColor rgb(uint8_t r, uint8_t g, uint8_t b) {
    return OleColor(r) | (OleColor(g) << 8) | (OleColor(b) << 16);
}
constexpr bool isSystemColor(OleColor c) { return (c & 0x80000000u) != 0; }
constexpr OleColor systemColor(uint8_t index) { return 0x80000000u | index; }

namespace syscolor {
inline constexpr OleColor ScrollBars = systemColor(0);
inline constexpr OleColor Desktop = systemColor(1);
inline constexpr OleColor ActiveTitleBar = systemColor(2);
inline constexpr OleColor InactiveTitleBar = systemColor(3);
inline constexpr OleColor MenuBar = systemColor(4);
inline constexpr OleColor WindowBackground = systemColor(5);
inline constexpr OleColor WindowFrame = systemColor(6);
inline constexpr OleColor MenuText = systemColor(7);
inline constexpr OleColor WindowText = systemColor(8);
inline constexpr OleColor TitleBarText = systemColor(9);
inline constexpr OleColor ActiveBorder = systemColor(10);
inline constexpr OleColor InactiveBorder = systemColor(11);
inline constexpr OleColor ApplicationWorkspace = systemColor(12);
inline constexpr OleColor Highlight = systemColor(13);
inline constexpr OleColor HighlightText = systemColor(14);
inline constexpr OleColor ButtonFace = systemColor(15);
inline constexpr OleColor ButtonShadow = systemColor(16);
inline constexpr OleColor GrayText = systemColor(17);
inline constexpr OleColor ButtonText = systemColor(18);
inline constexpr OleColor InactiveCaptionText = systemColor(19);
inline constexpr OleColor Button3DHighlight = systemColor(20);
inline constexpr OleColor Button3DDarkShadow = systemColor(21);
inline constexpr OleColor Button3DLight = systemColor(22);
inline constexpr OleColor InfoText = systemColor(23);
inline constexpr OleColor InfoBackground = systemColor(24);
}  // namespace syscolor

// The RGB value a system colour stands for on a default desktop; plain colours are returned as they are.
OleColor resolveColor(OleColor c);

}  // namespace ax
