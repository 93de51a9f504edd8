// The 23 events of the grid control (__Vantrel), in interface order with their dispatch ids. A C++ host
// attaches a typed sink; late-bound hosts advise an ax::EventSink and receive the same events by name.
// Every parameter is by reference: a value the host writes reaches the child that raised it.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/automation/object.h"

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

// Names and dispatch ids of the events, in interface order.
struct EventInfo {
    int32_t dispid;
    const char* name;
    int parameterCount;
};
inline constexpr EventInfo kVantrelEvents[] = {
    {1, "Click", 0},          {2, "DblClick", 0},     {3, "KeyDown", 2},      {4, "KeyPress", 1},
    {5, "KeyUp", 2},          {6, "MouseDown", 4},    {7, "MouseMove", 4},    {8, "MouseUp", 4},
    {9, "Resize", 0},         {10, "Show", 0},        {11, "Hide", 0},        {12, "OLECompleteDrag", 1},
    {13, "OLEDragDrop", 6},   {14, "OLEDragOver", 7}, {15, "OLEGiveFeedback", 2}, {16, "OLESetData", 2},
    {17, "OLEStartDrag", 2},  {18, "LeaveCell", 0},   {19, "EnterCell", 0},   {20, "SelChange", 0},
    {21, "RowColChange", 0},  {22, "Scroll", 0},      {23, "Compare", 3},
};

}  // namespace vantrel
