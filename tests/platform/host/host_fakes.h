// Stand-in children and a stand-in control for driving the headless host in tests.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/host/headless_host.h"

namespace hosttest {

using Log = std::vector<std::string>;

// A text-taking child: logs every notification with its name, appends typed characters.
class FakeChild : public ax::Child, public ax::InputTarget {
  public:
    FakeChild(std::shared_ptr<Log> log, bool focusable) : log_(std::move(log)), focusable_(focusable) {}

    bool canFocus() const override { return focusable_; }
    void gotFocus() override {
        note("GotFocus");
        Child::gotFocus();
    }
    void lostFocus() override {
        note("LostFocus");
        Child::lostFocus();
    }
    void keyDown(int16_t& code, int16_t& shift) override {
        note("KeyDown " + std::to_string(code) + " " + std::to_string(shift));
        ax::fire(onKeyDown, code, shift);
    }
    void keyPress(int16_t& ascii) override {
        note("KeyPress " + std::to_string(ascii));
        ax::fire(onKeyPress, ascii);
        if (ascii == 0) return;
        text += char(ascii);
        note("Change");
    }
    void keyUp(int16_t& code, int16_t& shift) override {
        note("KeyUp " + std::to_string(code) + " " + std::to_string(shift));
        (void)shift;
    }
    void mouseDown(int16_t b, int16_t, float x, float y) override { note(mouse("MouseDown", b, x, y)); }
    void mouseUp(int16_t b, int16_t, float x, float y) override { note(mouse("MouseUp", b, x, y)); }
    void mouseMove(int16_t b, int16_t, float x, float y) override { note(mouse("MouseMove", b, x, y)); }
    void click() override { note("Click"); }
    void dblClick() override { note("DblClick"); }

    ax::Handler<int16_t&, int16_t&> onKeyDown;
    ax::Handler<int16_t&> onKeyPress;
    std::string text;

  private:
    void note(const std::string& what) { log_->push_back(Name() + " " + what); }
    static std::string mouse(const char* what, int16_t b, float x, float y) {
        return std::string(what) + " " + std::to_string(b) + " " + std::to_string(int(x)) + "," +
               std::to_string(int(y));
    }
    std::shared_ptr<Log> log_;
    bool focusable_;
};

// Makes a FakeChild of every kind; images cannot take the focus.
class FakeFactory : public ax::ChildFactory {
  public:
    explicit FakeFactory(std::shared_ptr<Log> log) : log_(std::move(log)) {}
    ax::ChildPtr create(ax::ChildKind kind) override {
        kinds.push_back(kind);
        return std::make_shared<FakeChild>(log_, kind != ax::ChildKind::Image);
    }
    std::vector<ax::ChildKind> kinds;

  private:
    std::shared_ptr<Log> log_;
};

// A control that creates an inner grid, a text box and an image, and logs its lifecycle.
class TestControl : public ax::Control {
  public:
    explicit TestControl(std::shared_ptr<Log> log) : log_(std::move(log)) {}

    void SetSite(std::shared_ptr<ax::Site> s) override {
        log_->push_back("SetSite");
        Control::SetSite(std::move(s));
    }
    void InitProperties() override {
        log_->push_back("InitProperties");
        createChildren();
    }
    void ReadProperties(ax::PropertyBag& bag) override {
        log_->push_back("ReadProperties");
        createChildren();
        caption = bag.ReadProperty("Caption", ax::Variant("none")).toString();
    }
    void WriteProperties(ax::PropertyBag& bag) override {
        log_->push_back("WriteProperties");
        bag.WriteProperty("Caption", ax::Variant(caption), ax::Variant("none"));
    }
    void Resize() override { log_->push_back("Resize " + std::to_string(int(site().Surface().Width()))); }
    void Show() override { log_->push_back("Show"); }
    void Hide() override { log_->push_back("Hide"); }
    void EnterFocus() override { log_->push_back("EnterFocus"); }
    void ExitFocus() override { log_->push_back("ExitFocus"); }

    std::shared_ptr<FakeChild> grid, text, image;
    std::string caption = "none";

  private:
    void createChildren() {
        grid = std::dynamic_pointer_cast<FakeChild>(site().CreateChild(ax::ChildKind::FlexGrid, "Grid"));
        text = std::dynamic_pointer_cast<FakeChild>(site().CreateChild(ax::ChildKind::TextBox, "Txt"));
        image = std::dynamic_pointer_cast<FakeChild>(site().CreateChild(ax::ChildKind::Image, "Img"));
        grid->setVisible(true);
    }
    std::shared_ptr<Log> log_;
};

// A host with one TestControl placed on it, for the focus and input tests.
struct Placed {
    std::shared_ptr<Log> log = std::make_shared<Log>();
    std::shared_ptr<FakeFactory> factory = std::make_shared<FakeFactory>(log);
    ax::HeadlessHost host{factory};
    std::shared_ptr<TestControl> control = std::make_shared<TestControl>(log);

    Placed() {
        host.setUserMode(true);
        host.place(control, 4800, 3600);
        log->clear();
    }
};

}  // namespace hosttest
