#include "platform/automation/colour.h"

namespace ax {

namespace {

// The classic desktop scheme (grey 3-D faces, navy title bars, white windows), indexed by
// system colour number.
constexpr OleColor kSystemPalette[25] = {
    rgb(212, 208, 200),  //  0 scroll bars
    rgb(58, 110, 165),   //  1 desktop
    rgb(10, 36, 106),    //  2 active title bar
    rgb(128, 128, 128),  //  3 inactive title bar
    rgb(212, 208, 200),  //  4 menu bar
    rgb(255, 255, 255),  //  5 window background
    rgb(0, 0, 0),        //  6 window frame
    rgb(0, 0, 0),        //  7 menu text
    rgb(0, 0, 0),        //  8 window text
    rgb(255, 255, 255),  //  9 title bar text
    rgb(212, 208, 200),  // 10 active border
    rgb(212, 208, 200),  // 11 inactive border
    rgb(128, 128, 128),  // 12 application workspace
    rgb(10, 36, 106),    // 13 highlight
    rgb(255, 255, 255),  // 14 highlight text
    rgb(212, 208, 200),  // 15 button face
    rgb(128, 128, 128),  // 16 button shadow
    rgb(128, 128, 128),  // 17 grey text
    rgb(0, 0, 0),        // 18 button text
    rgb(212, 208, 200),  // 19 inactive title text
    rgb(255, 255, 255),  // 20 3-D highlight
    rgb(64, 64, 64),     // 21 3-D dark shadow
    rgb(212, 208, 200),  // 22 3-D light
    rgb(0, 0, 0),        // 23 tooltip text
    rgb(255, 255, 225),  // 24 tooltip background
};

}  // namespace

OleColor resolveColor(OleColor c) {
    if (!isSystemColor(c)) return c;
    unsigned index = c & 0xFFu;
    // A system colour number the desktop does not know reads as black.
    if (index >= sizeof kSystemPalette / sizeof kSystemPalette[0]) return 0;
    return kSystemPalette[index];
}

}  // namespace ax
