// The grid control as a Qt widget for applications: it owns a Qt host with one grid on it, sits in
// any layout, gives the grid its size (the grid gets its Resize), passes the focus on to it, and
// raises the grid's 23 events as Qt signals of the same names and parameters.
//
// By-reference parameters are references in the signals too, so a slot that changes KeyAscii or
// Cmp changes what the grid receives. That needs the slot to run inside the emission: connect in
// the widget's thread (Qt::AutoConnection then is direct) or with Qt::DirectConnection; a queued
// connection cannot carry a reference and Qt refuses it at run time.
#pragma once
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "grid/frame/vantrel.h"
#include "platform/qt/qt_host.h"

namespace vantrel {

class VantrelWidget : public QWidget {
    Q_OBJECT

  public:
    // Raises the runtime's error 429 when the grid's number editor ("ZelCtrl.Zel") is not
    // registered: an installed package registers it, a build tree needs vantrel-regsvr.
    explicit VantrelWidget(QWidget* parent = nullptr);
    ~VantrelWidget() override;

    // The typed interface: grid().setRows(10), grid().TextMatrix(1, 2).
    Vantrel& grid() const { return *grid_; }
    std::shared_ptr<Vantrel> gridPointer() const { return grid_; }
    // Any member by name, as a late-bound host calls it; by-reference arguments are written back
    // into args. Unknown names raise 438, wrong argument counts 450.
    ax::Variant invoke(std::string_view member, ax::InvokeKind kind, std::vector<ax::Variant>& args);
    ax::Variant invoke(std::string_view member, ax::InvokeKind kind = ax::InvokeKind::PropertyGet);
    // The host the grid sits on: its focus, simulated input and recorded notifications.
    ax::QtHost& host() const { return *host_; }

    QSize sizeHint() const override;

  Q_SIGNALS:
    void Click();
    void DblClick();
    void KeyDown(int16_t& KeyCode, int16_t& Shift);
    void KeyPress(int16_t& KeyAscii);
    void KeyUp(int16_t& KeyCode, int16_t& Shift);
    void MouseDown(int16_t& Button, int16_t& Shift, float& x, float& y);
    void MouseMove(int16_t& Button, int16_t& Shift, float& x, float& y);
    void MouseUp(int16_t& Button, int16_t& Shift, float& x, float& y);
    void Resize();
    void Show();
    void Hide();
    void OLECompleteDrag(int32_t& Effect);
    void OLEDragDrop(std::shared_ptr<ax::Object>& Data, int32_t& Effect, int16_t& Button, int16_t& Shift,
                     float& x, float& y);
    void OLEDragOver(std::shared_ptr<ax::Object>& Data, int32_t& Effect, int16_t& Button, int16_t& Shift,
                     float& x, float& y, int16_t& State);
    void OLEGiveFeedback(int32_t& Effect, bool& DefaultCursors);
    void OLESetData(std::shared_ptr<ax::Object>& Data, int16_t& DataFormat);
    void OLEStartDrag(std::shared_ptr<ax::Object>& Data, int32_t& AllowedEffects);
    void LeaveCell();
    void EnterCell();
    void SelChange();
    void RowColChange();
    void Scroll();
    void Compare(int32_t& Row1, int32_t& Row2, int16_t& Cmp);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    class Relay;
    std::unique_ptr<ax::QtHost> host_;
    std::shared_ptr<Vantrel> grid_;
    std::unique_ptr<Relay> relay_;
};

}  // namespace vantrel
