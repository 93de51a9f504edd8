// The spin control as a Qt widget for applications: it owns a Qt host with one Zel on it, sits in
// any layout (the control keeps its own height and a width in step with its bounds, so the widget
// asks for that size), passes the focus on to the text field, and raises the control's 12 events
// as Qt signals of the same names and parameters. The control itself raises only Change and
// KeyPress; the other ten exist for hosts written against the whole event interface.
//
// By-reference parameters are references in the signals too: connect in the widget's thread
// (Qt::AutoConnection then is direct) or with Qt::DirectConnection; a queued connection cannot carry
// a reference and Qt refuses it at run time.
#pragma once
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/qt/qt_host.h"
#include "spin/zel.h"

namespace zel {

class ZelWidget : public QWidget {
    Q_OBJECT

  public:
    explicit ZelWidget(QWidget* parent = nullptr);
    ~ZelWidget() override;

    // The typed interface: spin().setMax(10), spin().Value().
    Zel& spin() const { return *spin_; }
    std::shared_ptr<Zel> spinPointer() const { return spin_; }
    // Any member by name, as a late-bound host calls it.
    ax::Variant invoke(std::string_view member, ax::InvokeKind kind, std::vector<ax::Variant>& args);
    ax::Variant invoke(std::string_view member, ax::InvokeKind kind = ax::InvokeKind::PropertyGet);
    ax::QtHost& host() const { return *host_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  Q_SIGNALS:
    void Change();
    void Hide();
    void Resize();
    void Show();
    void Click();
    void DblClick();
    void KeyDown(int16_t& KeyCode, int16_t& Shift);
    void KeyPress(int16_t& KeyAscii);
    void KeyUp(int16_t& KeyCode, int16_t& Shift);
    void MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    class Relay;
    // The control's own size in pixels (it sets its height and bounds its width itself).
    QSize controlSize() const;

    std::unique_ptr<ax::QtHost> host_;
    std::shared_ptr<Zel> spin_;
    std::unique_ptr<Relay> relay_;
};

}  // namespace zel
