#include "platform/qt/vantrel_widget.h"

#include <QFocusEvent>
#include <QResizeEvent>

#include "platform/flexgrid/flexgrid.h"
#include "platform/qt/qt_children.h"
#include "platform/qt/qt_host.h"

namespace vantrel {

// The grid's typed event sink: each event becomes the signal of the same name, with the grid's own
// parameter storage passed on, so what a slot writes reaches the grid.
class VantrelWidget::Relay : public VantrelEvents {
  public:
    explicit Relay(VantrelWidget& w) : w_(w) {}
    void Click() override { Q_EMIT w_.Click(); }
    void DblClick() override { Q_EMIT w_.DblClick(); }
    void KeyDown(int16_t& KeyCode, int16_t& Shift) override { Q_EMIT w_.KeyDown(KeyCode, Shift); }
    void KeyPress(int16_t& KeyAscii) override { Q_EMIT w_.KeyPress(KeyAscii); }
    void KeyUp(int16_t& KeyCode, int16_t& Shift) override { Q_EMIT w_.KeyUp(KeyCode, Shift); }
    void MouseDown(int16_t& Button, int16_t& Shift, float& x, float& y) override {
        Q_EMIT w_.MouseDown(Button, Shift, x, y);
    }
    void MouseMove(int16_t& Button, int16_t& Shift, float& x, float& y) override {
        Q_EMIT w_.MouseMove(Button, Shift, x, y);
    }
    void MouseUp(int16_t& Button, int16_t& Shift, float& x, float& y) override {
        Q_EMIT w_.MouseUp(Button, Shift, x, y);
    }
    void Resize() override { Q_EMIT w_.Resize(); }
    void Show() override { Q_EMIT w_.Show(); }
    void Hide() override { Q_EMIT w_.Hide(); }
    void OLECompleteDrag(int32_t& Effect) override { Q_EMIT w_.OLECompleteDrag(Effect); }
    void OLEDragDrop(std::shared_ptr<ax::Object>& Data, int32_t& Effect, int16_t& Button, int16_t& Shift,
                     float& x, float& y) override {
        Q_EMIT w_.OLEDragDrop(Data, Effect, Button, Shift, x, y);
    }
    void OLEDragOver(std::shared_ptr<ax::Object>& Data, int32_t& Effect, int16_t& Button, int16_t& Shift,
                     float& x, float& y, int16_t& State) override {
        Q_EMIT w_.OLEDragOver(Data, Effect, Button, Shift, x, y, State);
    }
    void OLEGiveFeedback(int32_t& Effect, bool& DefaultCursors) override {
        Q_EMIT w_.OLEGiveFeedback(Effect, DefaultCursors);
    }
    void OLESetData(std::shared_ptr<ax::Object>& Data, int16_t& DataFormat) override {
        Q_EMIT w_.OLESetData(Data, DataFormat);
    }
    void OLEStartDrag(std::shared_ptr<ax::Object>& Data, int32_t& AllowedEffects) override {
        Q_EMIT w_.OLEStartDrag(Data, AllowedEffects);
    }
    void LeaveCell() override { Q_EMIT w_.LeaveCell(); }
    void EnterCell() override { Q_EMIT w_.EnterCell(); }
    void SelChange() override { Q_EMIT w_.SelChange(); }
    void RowColChange() override { Q_EMIT w_.RowColChange(); }
    void Scroll() override { Q_EMIT w_.Scroll(); }
    void Compare(int32_t& Row1, int32_t& Row2, int16_t& Cmp) override { Q_EMIT w_.Compare(Row1, Row2, Cmp); }

  private:
    VantrelWidget& w_;
};

VantrelWidget::VantrelWidget(QWidget* parent)
    : QWidget(parent),
      host_(std::make_unique<ax::QtHost>(this)),
      grid_(std::make_shared<Vantrel>()),
      relay_(std::make_unique<Relay>(*this)) {
    setFocusPolicy(Qt::StrongFocus);
    // The sink is in place before the grid is placed, so the first Resize and Show are heard too.
    grid_->setEventSink(relay_.get());
    const QSize size = sizeHint();
    host_->form()->setGeometry(0, 0, size.width(), size.height());
    try {
        host_->place(grid_, size.width() * host_->twipsPerPixelX(), size.height() * host_->twipsPerPixelY());
    } catch (...) {
        grid_->setEventSink(nullptr);  // the sink goes with this half-made widget
        throw;
    }
    resize(size);
}

VantrelWidget::~VantrelWidget() {
    grid_->setEventSink(nullptr);  // nothing is signalled from a widget being taken apart
    grid_.reset();
    host_.reset();  // the host lets the grid go before the widgets its children sit on
}

ax::Variant VantrelWidget::invoke(std::string_view member, ax::InvokeKind kind,
                                  std::vector<ax::Variant>& args) {
    return grid_->Invoke(member, kind, args);
}

ax::Variant VantrelWidget::invoke(std::string_view member, ax::InvokeKind kind) {
    std::vector<ax::Variant> none;
    return grid_->Invoke(member, kind, none);
}

QSize VantrelWidget::sizeHint() const { return {400, 200}; }

void VantrelWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize size = event->size();
    host_->form()->setGeometry(0, 0, size.width(), size.height());
    host_->resize(*grid_, size.width() * host_->twipsPerPixelX(), size.height() * host_->twipsPerPixelY());
}

void VantrelWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    // The keyboard belongs to the inner grid (or the editor open over it), as a click there would do.
    // The host holds this grid only, so a child that has the focus already is one of the grid's.
    ax::HeadlessHost& h = host_->host();
    ax::Child* target = h.focused() ? h.focused() : &grid_->innerGrid();
    h.setFocus(target);
    host_->syncViews();
    ax::giveQtFocus(*target);
}

}  // namespace vantrel
