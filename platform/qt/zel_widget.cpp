#include "platform/qt/zel_widget.h"

#include <QFocusEvent>
#include <QResizeEvent>
#include <cmath>

#include "platform/controls/text_box.h"
#include "platform/qt/qt_children.h"
#include "platform/qt/qt_host.h"

namespace zel {

// The control's typed event sink: each event becomes the signal of the same name.
class ZelWidget::Relay : public ZelEvents {
  public:
    explicit Relay(ZelWidget& w) : w_(w) {}
    void Change() override { Q_EMIT w_.Change(); }
    void Hide() override { Q_EMIT w_.Hide(); }
    void Resize() override { Q_EMIT w_.Resize(); }
    void Show() override { Q_EMIT w_.Show(); }
    void Click() override { Q_EMIT w_.Click(); }
    void DblClick() override { Q_EMIT w_.DblClick(); }
    void KeyDown(int16_t& KeyCode, int16_t& Shift) override { Q_EMIT w_.KeyDown(KeyCode, Shift); }
    void KeyPress(int16_t& KeyAscii) override { Q_EMIT w_.KeyPress(KeyAscii); }
    void KeyUp(int16_t& KeyCode, int16_t& Shift) override { Q_EMIT w_.KeyUp(KeyCode, Shift); }
    void MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) override {
        Q_EMIT w_.MouseDown(Button, Shift, X, Y);
    }
    void MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) override {
        Q_EMIT w_.MouseMove(Button, Shift, X, Y);
    }
    void MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) override {
        Q_EMIT w_.MouseUp(Button, Shift, X, Y);
    }

  private:
    ZelWidget& w_;
};

ZelWidget::ZelWidget(QWidget* parent)
    : QWidget(parent),
      host_(std::make_unique<ax::QtHost>(this)),
      spin_(std::make_shared<Zel>()),
      relay_(std::make_unique<Relay>(*this)) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    spin_->setEventSink(relay_.get());
    // Placed at the width it asks for; its first layout settles the height and the width's bounds.
    try {
        host_->place(spin_, 1125, 300);
    } catch (...) {
        spin_->setEventSink(nullptr);
        throw;
    }
    const QSize size = controlSize();
    host_->form()->setGeometry(0, 0, size.width(), size.height());
    if (QWidget* surface = host_->surfaceWidget(*spin_)) surface->resize(size);
    resize(size);
}

ZelWidget::~ZelWidget() {
    spin_->setEventSink(nullptr);
    spin_.reset();
    host_.reset();
}

ax::Variant ZelWidget::invoke(std::string_view member, ax::InvokeKind kind, std::vector<ax::Variant>& args) {
    ax::Variant result = spin_->Invoke(member, kind, args);
    // Bounds and style change the control's own size: the layout hears of it.
    updateGeometry();
    return result;
}

ax::Variant ZelWidget::invoke(std::string_view member, ax::InvokeKind kind) {
    std::vector<ax::Variant> none;
    return invoke(member, kind, none);
}

QSize ZelWidget::controlSize() const {
    ax::ControlSurface& s = host_->host().surface(*spin_);
    return {int(std::lround(s.Width() / host_->twipsPerPixelX())),
            int(std::lround(s.Height() / host_->twipsPerPixelY()))};
}

QSize ZelWidget::sizeHint() const { return controlSize(); }
QSize ZelWidget::minimumSizeHint() const { return {1, controlSize().height()}; }

void ZelWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize asked = event->size();
    host_->form()->setGeometry(0, 0, asked.width(), asked.height());
    host_->resize(*spin_, asked.width() * host_->twipsPerPixelX(), asked.height() * host_->twipsPerPixelY());
    // The control keeps a width its bounds allow and its own height; its widget shows that size.
    if (QWidget* surface = host_->surfaceWidget(*spin_)) surface->resize(controlSize());
    updateGeometry();
}

void ZelWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    ax::HeadlessHost& h = host_->host();
    ax::Child* target = h.focused() ? h.focused() : spin_->textField();
    h.setFocus(target);
    host_->syncViews();
    ax::giveQtFocus(*target);
}

}  // namespace zel
