// The event interface __Zel: the typed sink a C++ host attaches, and the table of the twelve
// events (name, dispatch id, parameters) that late-bound hosts receive by name.
#pragma once
#include <array>
#include <cstdint>
#include <string_view>

#include "platform/runtime/events.h"

namespace zel {

// One virtual per event; parameters are by reference as the automation interface declares them.
// Only Change and KeyPress are raised by the control; the others exist for hosts written
// against the full interface.
class ZelEvents {
  public:
    virtual ~ZelEvents() = default;
    virtual void Change() {}
    virtual void Hide() {}
    virtual void Resize() {}
    virtual void Show() {}
    virtual void Click() {}
    virtual void DblClick() {}
    virtual void KeyDown(int16_t& KeyCode, int16_t& Shift) { (void)KeyCode, (void)Shift; }
    virtual void KeyPress(int16_t& KeyAscii) { (void)KeyAscii; }
    virtual void KeyUp(int16_t& KeyCode, int16_t& Shift) { (void)KeyCode, (void)Shift; }
    virtual void MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) {
        (void)Button, (void)Shift, (void)X, (void)Y;
    }
    virtual void MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) {
        (void)Button, (void)Shift, (void)X, (void)Y;
    }
    virtual void MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) {
        (void)Button, (void)Shift, (void)X, (void)Y;
    }
};

namespace dispid {
inline constexpr int32_t Change = 1, Hide = 2, Resize = 3, Show = 4, Click = 5, DblClick = 6;
inline constexpr int32_t KeyDown = 7, KeyPress = 8, KeyUp = 9, MouseDown = 10, MouseMove = 11, MouseUp = 12;
}  // namespace dispid

// __Zel in interface order.
inline constexpr std::array<ax::EventDescription, 12> kZelEvents{{
    {"Change", dispid::Change},
    {"Hide", dispid::Hide},
    {"Resize", dispid::Resize},
    {"Show", dispid::Show},
    {"Click", dispid::Click},
    {"DblClick", dispid::DblClick},
    {"KeyDown", dispid::KeyDown, {"KeyCode", "Shift"}, 2},
    {"KeyPress", dispid::KeyPress, {"KeyAscii"}, 1},
    {"KeyUp", dispid::KeyUp, {"KeyCode", "Shift"}, 2},
    {"MouseDown", dispid::MouseDown, {"Button", "Shift", "X", "Y"}, 4},
    {"MouseMove", dispid::MouseMove, {"Button", "Shift", "X", "Y"}, 4},
    {"MouseUp", dispid::MouseUp, {"Button", "Shift", "X", "Y"}, 4},
}};

}  // namespace zel
