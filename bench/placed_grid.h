// The grid control as the benchmarks place it: on the headless host in a running program, its number
// editor made by the runtime from the build's libraries, its property-change notices only counted.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "grid/frame/vantrel.h"
#include "platform/headless/headless_children.h"
#include "platform/runtime/registry.h"

namespace benchgrid {

// A container whose property-change notification only counts, as a running program's marks its form
// changed; everything else is the headless host's. (The headless host records every notification for
// tests, which would weigh more than the work measured.)
class CountingSite : public ax::Site {
  public:
    explicit CountingSite(std::shared_ptr<ax::Site> s) : s_(std::move(s)) {}
    bool UserMode() const override { return true; }
    ax::FontPtr AmbientFont() const override { return s_->AmbientFont(); }
    const ax::Locale& AmbientLocale() const override { return s_->AmbientLocale(); }
    ax::ScaleMode ContainerScaleMode() const override { return s_->ContainerScaleMode(); }
    void PropertyChanged(std::string_view) override { ++changes; }
    int MsgBox(std::string_view p, int b, std::string_view t) override { return s_->MsgBox(p, b, t); }
    void SetHelpFile(const std::string& path) override { s_->SetHelpFile(path); }
    ax::ControlSurface& Surface() override { return s_->Surface(); }
    ax::ChildPtr CreateChild(ax::ChildKind k, std::string n) override {
        return s_->CreateChild(k, std::move(n));
    }
    ax::ComponentChild CreateComponentChild(std::string_view id, std::string n) override {
        return s_->CreateComponentChild(id, std::move(n));
    }
    size_t changes = 0;

  private:
    std::shared_ptr<ax::Site> s_;
};

// The headless host's place for the grid, taken by a stand-in control; the grid then gets the site.
struct PlaceHolder : ax::Control {};

struct PlacedGrid {
    std::unique_ptr<ax::HeadlessHost> host;
    std::shared_ptr<PlaceHolder> holder = std::make_shared<PlaceHolder>();
    std::shared_ptr<vantrel::Vantrel> grid = std::make_shared<vantrel::Vantrel>();

    PlacedGrid() {
        static const bool registered = (ax::useBuildRegistry(VN_LIB_DIR), true);
        (void)registered;
        host = ax::makeHeadlessHost();
        host->setUserMode(true);
        grid->SetSite(std::make_shared<CountingSite>(host->place(holder, 9600, 7200)));
        grid->InitProperties();
        grid->Resize();
        grid->Show();
    }
    ax::FlexGrid& inner() { return grid->innerGrid(); }
};

}  // namespace benchgrid
