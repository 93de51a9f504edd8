// Every notification of the inner grid becomes the control's event of the same name. The host gets
// the child's own parameters, so what it writes into them reaches the inner grid.
#include "grid/frame/vantrel.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {

void Vantrel::relayInnerGridNotifications() {
    ax::FlexGrid& g = *FlexGrid_;
    g.onClick = [this] { raiseEvent(1, &VantrelEvents::Click); };
    g.onDblClick = [this] { raiseEvent(2, &VantrelEvents::DblClick); };
    g.onKeyDown = [this](int16_t& keyCode, int16_t& shift) {
        raiseEvent(3, &VantrelEvents::KeyDown, keyCode, shift);
    };
    // The edit engine has the key before the host; the host's value is what the inner grid receives.
    g.onKeyPress = [this](int16_t& keyAscii) {
        BeginCellEdit(keyAscii);
        raiseEvent(4, &VantrelEvents::KeyPress, keyAscii);
    };
    g.onKeyUp = [this](int16_t& keyCode, int16_t& shift) {
        raiseEvent(5, &VantrelEvents::KeyUp, keyCode, shift);
    };
    g.onMouseDown = [this](int16_t& button, int16_t& shift, float& x, float& y) {
        int16_t noKey = 0;
        BeginCellEdit(noKey);
        raiseEvent(6, &VantrelEvents::MouseDown, button, shift, x, y);
    };
    g.onMouseMove = [this](int16_t& button, int16_t& shift, float& x, float& y) {
        raiseEvent(7, &VantrelEvents::MouseMove, button, shift, x, y);
    };
    g.onMouseUp = [this](int16_t& button, int16_t& shift, float& x, float& y) {
        raiseEvent(8, &VantrelEvents::MouseUp, button, shift, x, y);
    };
    g.onOLECompleteDrag = [this](int32_t& effect) {
        raiseEvent(12, &VantrelEvents::OLECompleteDrag, effect);
    };
    g.onOLEDragDrop = [this](std::shared_ptr<ax::Object>& data, int32_t& effect, int16_t& button,
                             int16_t& shift, float& x, float& y) {
        raiseEvent(13, &VantrelEvents::OLEDragDrop, data, effect, button, shift, x, y);
    };
    g.onOLEDragOver = [this](std::shared_ptr<ax::Object>& data, int32_t& effect, int16_t& button,
                             int16_t& shift, float& x, float& y, int16_t& state) {
        raiseEvent(14, &VantrelEvents::OLEDragOver, data, effect, button, shift, x, y, state);
    };
    g.onOLEGiveFeedback = [this](int32_t& effect, bool& defaultCursors) {
        raiseEvent(15, &VantrelEvents::OLEGiveFeedback, effect, defaultCursors);
    };
    g.onOLESetData = [this](std::shared_ptr<ax::Object>& data, int16_t& dataFormat) {
        raiseEvent(16, &VantrelEvents::OLESetData, data, dataFormat);
    };
    g.onOLEStartDrag = [this](std::shared_ptr<ax::Object>& data, int32_t& allowedEffects) {
        raiseEvent(17, &VantrelEvents::OLEStartDrag, data, allowedEffects);
        SetEditorsVisible(false);
    };
    g.onLeaveCell = [this] { raiseEvent(18, &VantrelEvents::LeaveCell); };
    g.onEnterCell = [this] { raiseEvent(19, &VantrelEvents::EnterCell); };
    g.onSelChange = [this] { raiseEvent(20, &VantrelEvents::SelChange); };
    g.onRowColChange = [this] { raiseEvent(21, &VantrelEvents::RowColChange); };
    g.onScroll = [this] {
        SetEditorsVisible(false);
        FlexGrid_->SetFocus();
        raiseEvent(22, &VantrelEvents::Scroll);
    };
    // The row numbers are the host's copies; only Cmp goes back to the inner grid.
    g.onCompare = [this](int32_t row1, int32_t row2, int16_t& cmp) {
        raiseEvent(23, &VantrelEvents::Compare, row1, row2, cmp);
    };
}

}  // namespace vantrel
