// The 23 events of the grid control (__Vantrel), in interface order with their dispatch ids. A C++ host
// attaches a typed sink; late-bound hosts advise an ax::EventSink and receive the same events by name.
// Every parameter is by reference: a value the host writes reaches the child that raised it.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/automation/object.h"
#include "platform/runtime/events.h"

namespace vantrel {

class VantrelEvents {
public:
    virtual ~VantrelEvents() = default;
    virtual void Click() {}                                                            // 1
    virtual void DblClick() {}                                                         // 2
    virtual void KeyDown(int16_t& KeyCode, int16_t& Shift) { (void)KeyCode, (void)Shift; }  // 3
    virtual void KeyPress(int16_t& KeyAscii) { (void)KeyAscii; }                       // 4
    virtual void KeyUp(int16_t& KeyCode, int16_t& Shift) { (void)KeyCode, (void)Shift; }    // 5
    virtual void MouseDown(int16_t& Button, int16_t& Shift, float& x, float& y) { (void)Button, (void)Shift, (void)x, (void)y; }  // 6
    virtual void MouseMove(int16_t& Button, int16_t& Shift, float& x, float& y) { (void)Button, (void)Shift, (void)x, (void)y; }  // 7
    virtual void MouseUp(int16_t& Button, int16_t& Shift, float& x, float& y) { (void)Button, (void)Shift, (void)x, (void)y; }    // 8
    virtual void Resize() {}                                                           // 9
    virtual void Show() {}                                                             // 10
    virtual void Hide() {}                                                             // 11
    virtual void OLECompleteDrag(int32_t& Effect) { (void)Effect; }                    // 12
    virtual void OLEDragDrop(std::shared_ptr<ax::Object>& Data, int32_t& Effect, int16_t& Button, int16_t& Shift,
                             float& x, float& y) { (void)Data, (void)Effect, (void)Button, (void)Shift, (void)x, (void)y; }  // 13
    virtual void OLEDragOver(std::shared_ptr<ax::Object>& Data, int32_t& Effect, int16_t& Button, int16_t& Shift,
                             float& x, float& y, int16_t& State) {
        (void)Data, (void)Effect, (void)Button, (void)Shift, (void)x, (void)y, (void)State;
    }  // 14
    virtual void OLEGiveFeedback(int32_t& Effect, bool& DefaultCursors) { (void)Effect, (void)DefaultCursors; }  // 15
    virtual void OLESetData(std::shared_ptr<ax::Object>& Data, int16_t& DataFormat) { (void)Data, (void)DataFormat; }  // 16
    virtual void OLEStartDrag(std::shared_ptr<ax::Object>& Data, int32_t& AllowedEffects) { (void)Data, (void)AllowedEffects; }  // 17
    virtual void LeaveCell() {}                                                        // 18
    virtual void EnterCell() {}                                                        // 19
    virtual void SelChange() {}                                                        // 20
    virtual void RowColChange() {}                                                     // 21
    virtual void Scroll() {}                                                           // 22
    virtual void Compare(int32_t& Row1, int32_t& Row2, int16_t& Cmp) { (void)Row1, (void)Row2, (void)Cmp; }  // 23
};

// Names, dispatch ids and parameter names of the events, in interface order.
inline constexpr ax::EventDescription kVantrelEvents[] = {
    {"Click", 1},
    {"DblClick", 2},
    {"KeyDown", 3, {"KeyCode", "Shift"}, 2},
    {"KeyPress", 4, {"KeyAscii"}, 1},
    {"KeyUp", 5, {"KeyCode", "Shift"}, 2},
    {"MouseDown", 6, {"Button", "Shift", "x", "y"}, 4},
    {"MouseMove", 7, {"Button", "Shift", "x", "y"}, 4},
    {"MouseUp", 8, {"Button", "Shift", "x", "y"}, 4},
    {"Resize", 9},
    {"Show", 10},
    {"Hide", 11},
    {"OLECompleteDrag", 12, {"Effect"}, 1},
    {"OLEDragDrop", 13, {"Data", "Effect", "Button", "Shift", "x", "y"}, 6},
    {"OLEDragOver", 14, {"Data", "Effect", "Button", "Shift", "x", "y", "State"}, 7},
    {"OLEGiveFeedback", 15, {"Effect", "DefaultCursors"}, 2},
    {"OLESetData", 16, {"Data", "DataFormat"}, 2},
    {"OLEStartDrag", 17, {"Data", "AllowedEffects"}, 2},
    {"LeaveCell", 18},
    {"EnterCell", 19},
    {"SelChange", 20},
    {"RowColChange", 21},
    {"Scroll", 22},
    {"Compare", 23, {"Row1", "Row2", "Cmp"}, 3},
};

}  // namespace vantrel
