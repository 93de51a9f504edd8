// A composite test control in a library of its own: created by programmatic identifier and placed
// inside another control, it makes two children through its own site.
#include <memory>
#include <string>

#include "platform/host/control.h"
#include "platform/runtime/registry.h"

namespace axtest {

class Spinner : public ax::Control {
  public:
    void InitProperties() override {
        log("Init");
        field_ = site().CreateChild(ax::ChildKind::TextBox, "Field");
        arrows_ = site().CreateChild(ax::ChildKind::FlatScrollBar, "Arrows");
        field_->setVisible(true);
        arrows_->setVisible(true);
    }
    void Resize() override { log("Resize " + std::to_string(int(site().Surface().Width()))); }
    void Show() override { log("Show"); }
    void Hide() override { log("Hide"); }
    void EnterFocus() override { log("EnterFocus"); }
    void ExitFocus() override { log("ExitFocus"); }

    std::string Log() const { return log_; }

    ax::Variant Invoke(std::string_view name, ax::InvokeKind kind, std::vector<ax::Variant>& args) override {
        if (name == "Log" && kind != ax::InvokeKind::PropertyPut) return ax::Variant(log_);
        return ax::Control::Invoke(name, kind, args);
    }

  private:
    void log(const std::string& s) { log_ += (log_.empty() ? "" : ",") + s; }
    ax::ChildPtr field_, arrows_;
    std::string log_;
};

}  // namespace axtest

AX_COMPONENT_LIBRARY({"AxTest.Spinner", "{0E2D8F41-7A5C-4B7E-8D21-6C3F9A1B2E04}", true,
                      [] { return std::make_shared<axtest::Spinner>(); }})
