// The number editor of ZelPicker columns: the spin-input component, reached only by member name,
// writes its value into the cell on every change. Enter and Esc hand the focus back to the grid,
// and the editor closes on that focus loss.
#include <cmath>
#include <optional>

#include "grid/editing/column_settings.h"
#include "grid/editing/edit_engine.h"
#include "grid/editing/editors/editor_kinds.h"
#include "platform/automation/convert.h"
#include "platform/flexgrid/flexgrid.h"
#include "platform/host/control.h"
#include "platform/host/site.h"
#include "platform/runtime/events.h"

namespace vantrel {
namespace {

class NumberEditor;

// Hears the component's events by name and hands them to the editor.
class NumberEvents final : public ax::EventSink {
  public:
    explicit NumberEvents(NumberEditor& editor) : editor_(&editor) {}
    void OnEvent(int32_t dispid, std::string_view name, std::vector<ax::Variant>& args) override;
    void detach() { editor_ = nullptr; }

  private:
    NumberEditor* editor_;
};

class NumberEditor final : public CellEditor {
  public:
    NumberEditor(EditEngine& engine, const ax::ComponentChild& zel, ax::Control* events)
        : engine_(engine), extender_(*zel.extender), zel_(*zel.object), source_(events) {
        extender_.onLostFocus = [this] { extender_.setVisible(false); };
        if (source_) {
            sink_ = std::make_shared<NumberEvents>(*this);
            source_->events().Advise(sink_);
        }
    }
    ~NumberEditor() override {
        extender_.onLostFocus = nullptr;
        if (sink_) {
            sink_->detach();
            source_->events().Unadvise(sink_);
        }
    }

    bool TryShowEditor() override {
        if (engine_.editKind() != ZelPicker) return false;
        const ColumnSettings& cs = engine_.editColumn();
        // Decided before the component is touched, so a text it cannot take never half-loads it.
        const int16_t start = startValue(cs);

        ax::Variant font = ax::getProperty(zel_, "Font");
        ax::FontPtr current = font.isObject() ? std::dynamic_pointer_cast<ax::Font>(font.object()) : nullptr;
        ax::setProperty(zel_, "Font", ax::Variant(engine_.cellFont(current)));
        ax::letProperty(zel_, "MousePointer", ax::Variant(engine_.mousePointer()));
        ax::PicturePtr icon = engine_.mouseIcon();
        ax::setProperty(zel_, "MouseIcon", ax::Variant(icon ? icon : ax::emptyPicture()));
        ax::letProperty(zel_, "Style", ax::Variant(int32_t(cs.ZelPickerStyle)));

        ax::letProperty(zel_, "Min", ax::Variant(int16_t(-32768)));
        ax::letProperty(zel_, "Min", ax::Variant(cs.ZelPickerMin));
        ax::letProperty(zel_, "Max", ax::Variant(int16_t(32767)));
        ax::letProperty(zel_, "Max", ax::Variant(cs.ZelPickerMax));
        // A minimum above the previous edit's maximum is refused before the maximum moves; now it fits.
        ax::letProperty(zel_, "Min", ax::Variant(cs.ZelPickerMin));
        ax::letProperty(zel_, "SmallChange", ax::Variant(cs.ZelPickerSmallChange));
        ax::letProperty(zel_, "LargeChange", ax::Variant(cs.ZelPickerLargeChange));
        ax::letProperty(zel_, "SmallChange", ax::Variant(cs.ZelPickerSmallChange));

        const CellGeometry g = engine_.geometry();
        extender_.setTop(g.top);
        extender_.setLeft(g.left);
        extender_.setWidth(g.width);
        extender_.setHeight(g.height);

        ax::letProperty(zel_, "Value", ax::Variant(start));
        // Setting a value the component already holds raises no change; the cell shows it all the same.
        WriteBackEditor();
        EditEngine::showInFront(extender_);
        return true;
    }

    void WriteBackEditor() override {
        engine_.writeCell(ax::decimalText(ax::getProperty(zel_, "Value").toInteger()));
    }

    void onEvent(std::string_view name, std::vector<ax::Variant>& args) {
        if (name == "Change" || name == "Click") {
            WriteBackEditor();
        } else if (name == "KeyPress" && !args.empty()) {
            keyPress(args[0]);
        } else if (name == "KeyDown" && args.size() >= 2) {
            int16_t keyCode = args[0].toInteger(), shift = args[1].toInteger();
            if (keyCode == 13 || keyCode == 27) engine_.raiseKeyDown(keyCode, shift);
            args[0] = ax::Variant(keyCode);
            args[1] = ax::Variant(shift);
        }
    }

  private:
    // The cell's number, rounded half to even. A number outside the column's range opens at the
    // nearest bound, a text that is no number at the column's initial number: the editor always
    // opens, the cell shows what the editor shows, and Esc still brings the original text back.
    int16_t startValue(const ColumnSettings& cs) const {
        const std::optional<double> n = ax::parseNumber(engine_.EditStartText, engine_.locale());
        if (!n || std::isnan(*n)) return cs.ZelPickerInitValue;
        const double r = ax::roundHalfEven(*n);
        if (r < cs.ZelPickerMin) return cs.ZelPickerMin;
        if (r > cs.ZelPickerMax) return cs.ZelPickerMax;
        return static_cast<int16_t>(r);
    }

    void keyPress(ax::Variant& arg) {
        if (!extender_.Visible()) return;
        int16_t key = arg.toInteger();
        const int16_t typed = key;
        if (typed != 13 && typed != 27) return;
        engine_.raiseKeyPress(key);
        arg = ax::Variant(key);
        if (typed == 27) engine_.writeCell(engine_.EditStartText);
        engine_.focusGrid();
    }

    EditEngine& engine_;
    ax::Child& extender_;
    ax::Object& zel_;
    ax::Control* source_;
    std::shared_ptr<NumberEvents> sink_;
};

void NumberEvents::OnEvent(int32_t, std::string_view name, std::vector<ax::Variant>& args) {
    if (editor_) editor_->onEvent(name, args);
}

}  // namespace

std::unique_ptr<CellEditor> makeNumberEditor(EditEngine& engine) {
    const ax::ComponentChild& zel = engine.zelPick();
    if (!zel.extender || !zel.object) return nullptr;
    return std::make_unique<NumberEditor>(engine, zel, dynamic_cast<ax::Control*>(zel.object.get()));
}

}  // namespace vantrel
