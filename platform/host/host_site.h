// Internal to the host library: the site the headless host gives each control, the extender around a
// component child, and the state the host shares between them.
#pragma once
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/errors.h"
#include "platform/host/clipboard.h"
#include "platform/host/headless_host.h"
#include "platform/runtime/registry.h"

namespace ax {

namespace hosting {

class HostSite;

// The container's members around a component created by programmatic identifier. When the
// component is a control it gets a site of its own nested in this one: its surface is this box.
class ExtenderChild : public Child {
  public:
    // Starts hidden without telling the component, which has no site yet.
    explicit ExtenderChild(std::shared_ptr<Object> object) : object_(std::move(object)) { visible_ = false; }

    void setWidth(float v) override {
        const float was = width_;
        Child::setWidth(v);
        if (was != width_) layout();
    }
    void setHeight(float v) override {
        const float was = height_;
        Child::setHeight(v);
        if (was != height_) layout();
    }
    void setVisible(bool v) override;

    const std::shared_ptr<Object>& object() const { return object_; }
    Control* control() const { return dynamic_cast<Control*>(object_.get()); }
    HostSite* nested() const { return nested_.get(); }
    void setNested(std::shared_ptr<HostSite> s) { nested_ = std::move(s); }

  private:
    void layout();

    std::shared_ptr<Object> object_;
    std::shared_ptr<HostSite> nested_;
};

}  // namespace hosting

struct HeadlessHost::Impl {
    std::shared_ptr<ChildFactory> factory;
    bool userMode = false;
    FontPtr font = std::make_shared<Font>("MS Sans Serif", 8.25f);
    Locale locale = Locale::enUS();
    ScaleMode scaleMode = ScaleMode::Twips;

    struct Placed {
        std::shared_ptr<Control> control;
        std::shared_ptr<hosting::HostSite> site;
    };
    std::vector<Placed> placed;
    std::vector<MessageBox> boxes;
    std::vector<int> answers;
    std::function<int(const HeadlessHost::MessageBox&)> showBox;

    Child* focused = nullptr;
    uint64_t focusMoves = 0;

    hosting::HostSite* siteOf(const Control& c) const;
    hosting::HostSite& requireSite(const Control& c) const;
    void moveFocus(Child* target);
    void focusLeft(Child* from);  // from (or something inside it) stopped being focusable
    Child* focusTargetOf(Child* c) const;
    // Whether the user can reach a child: it and every control and component around it are
    // visible and enabled, and the form shows the control.
    bool reachable(const Child* c) const;
    // The form's tab stops: each placed control, in placing order, is one stop, entered at its first
    // child that can take the focus (creation order, a component's children in its place); an open
    // editor or a component inside a control is part of its control's stop.
    std::vector<Child*> tabStops() const;
    // The child Tab (or Shift+Tab) moves the focus to, wrapping; nullptr when nothing can take it.
    Child* tabTarget(bool backwards) const;
    // The placed control whose stop holds the child (its outermost site).
    const hosting::HostSite* placedSiteOf(const Child* c) const;
    bool tabTaken = false;  // the last Tab key down moved the focus, so its key up is the form's too
    std::shared_ptr<Clipboard> clipboard = std::make_shared<MemoryClipboard>();
};

namespace hosting {

HostSite* siteOfChild(const Child* c);

class HostSite : public Site, public Container, public ControlSurface {
  public:
    HostSite(HeadlessHost::Impl* host, Control* control, HostSite* parent, ExtenderChild* extender)
        : host_(host), control_(control), parent_(parent), extender_(extender) {}

    ~HostSite() override {
        for (auto& c : children_) c->attach(nullptr, c->Name());
    }

    void detachHost() {
        host_ = nullptr;
        for (auto& c : children_)
            if (auto* e = dynamic_cast<ExtenderChild*>(c.get()); e && e->nested()) e->nested()->detachHost();
    }

    Control* control() const { return control_; }
    HostSite* parent() const { return parent_; }
    ExtenderChild* extender() const { return extender_; }
    const std::vector<ChildPtr>& children() const { return children_; }
    const std::vector<Child*>& zorder() const { return zorder_; }
    // The property changes heard, in order; a run of the same name is kept once with its length, so a
    // load that sets Rows once per row costs no memory per row.
    struct ChangeRun {
        std::string name;
        size_t count;
    };
    std::vector<ChangeRun> changes;
    std::string helpFile;
    bool shown = false;

    // --- Site ---
    bool UserMode() const override { return host_ ? host_->userMode : true; }
    FontPtr AmbientFont() const override {
        return host_ ? host_->font->clone() : std::make_shared<Font>("MS Sans Serif", 8.25f);
    }
    const Locale& AmbientLocale() const override { return host_ ? host_->locale : currentLocale(); }
    ScaleMode ContainerScaleMode() const override {
        // A component placed inside a control reads its parent control's scale.
        if (parent_) return parent_->scaleMode();
        return host_ ? host_->scaleMode : ScaleMode::Twips;
    }
    void PropertyChanged(std::string_view name) override {
        if (!changes.empty() && changes.back().name == name)
            ++changes.back().count;
        else
            changes.push_back({std::string(name), 1});
    }
    int MsgBox(std::string_view prompt, int buttons, std::string_view title) override {
        if (!host_) return mb::ResultOk;
        host_->boxes.push_back({std::string(prompt), buttons, std::string(title)});
        if (!host_->answers.empty()) {
            int a = host_->answers.front();
            host_->answers.erase(host_->answers.begin());
            return a;
        }
        if (host_->showBox) return host_->showBox(host_->boxes.back());
        switch (buttons & 0xF) {
            case 2:
                return 3;  // Abort, Retry, Ignore
            case 3:        // Yes, No, Cancel
            case mb::YesNo:
                return mb::ResultYes;
            case 5:
                return 4;  // Retry, Cancel
            default:
                return mb::ResultOk;
        }
    }
    void SetHelpFile(const std::string& path) override { helpFile = path; }
    ControlSurface& Surface() override { return *this; }

    ChildPtr CreateChild(ChildKind kind, std::string name) override {
        ChildPtr c = host_ && host_->factory ? host_->factory->create(kind) : nullptr;
        if (!c) raise(err::CannotCreateObject, "the host cannot create a child of this kind");
        adopt(c, std::move(name));
        return c;
    }

    ComponentChild CreateComponentChild(std::string_view progId, std::string name) override {
        auto object = CreateObject(progId);
        auto ext = std::make_shared<ExtenderChild>(object);
        adopt(ext, std::move(name));
        if (auto* ctl = ext->control()) {
            auto nested = std::make_shared<HostSite>(host_, ctl, this, ext.get());
            nested->widthTw_ = ext->Width();
            nested->heightTw_ = ext->Height();
            nested->rescale();
            ext->setNested(nested);
            ctl->SetSite(nested);
            ctl->InitProperties();
        }
        return ComponentChild{ext, object};
    }

    // --- Container ---
    void focusChild(Child* c) override {
        if (!host_) return;
        // A component with nothing inside that can take the focus takes it itself.
        Child* target = c ? host_->focusTargetOf(c) : nullptr;
        host_->moveFocus(target ? target : c);
    }
    Child* focusedChild() const override { return host_ ? host_->focused : nullptr; }
    void zorderChild(Child* c, int16_t position) override {
        auto it = std::find(zorder_.begin(), zorder_.end(), c);
        if (it == zorder_.end()) return;
        zorder_.erase(it);
        if (position == 0)
            zorder_.insert(zorder_.begin(), c);
        else
            zorder_.push_back(c);
    }
    void childHidden(Child* c) override {
        if (host_) host_->focusLeft(c);
    }
    Clipboard* clipboard() override { return host_ ? host_->clipboard.get() : nullptr; }

    // --- ControlSurface ---
    int32_t hWnd() const override { return hwnd_; }
    int32_t hDC() const override { return hdc_; }
    bool Enabled() const override { return enabled_; }
    void setEnabled(bool v) override {
        enabled_ = v;
        if (!v && host_ && host_->focused && contains(host_->focused)) host_->moveFocus(nullptr);
    }
    float Width() const override { return widthTw_; }
    float Height() const override { return heightTw_; }
    void Size(float width, float height) override {
        widthTw_ = width;
        heightTw_ = height;
        if (mode_ != ScaleMode::User) rescale();
        if (control_) control_->Resize();
    }
    float ScaleWidth() const override { return scaleWidth_; }
    void setScaleWidth(float v) override {
        if (v == 0) raise(err::InvalidPropertyValue);
        scaleWidth_ = v;
        mode_ = ScaleMode::User;
    }
    float ScaleHeight() const override { return scaleHeight_; }
    void setScaleHeight(float v) override {
        if (v == 0) raise(err::InvalidPropertyValue);
        scaleHeight_ = v;
        mode_ = ScaleMode::User;
    }
    float ScaleLeft() const override { return scaleLeft_; }
    void setScaleLeft(float v) override {
        scaleLeft_ = v;
        mode_ = ScaleMode::User;
    }
    float ScaleTop() const override { return scaleTop_; }
    void setScaleTop(float v) override {
        scaleTop_ = v;
        mode_ = ScaleMode::User;
    }
    ScaleMode scaleMode() const override { return mode_; }
    void setScaleMode(ScaleMode m) override {
        if (int(m) < 0 || int(m) > 7) raise(err::InvalidPropertyValue);
        mode_ = m;
        if (m != ScaleMode::User) rescale();
    }
    float ScaleX(float value, ScaleMode from, ScaleMode to) const override {
        return convert(value, unitX(from), unitX(to));
    }
    float ScaleY(float value, ScaleMode from, ScaleMode to) const override {
        return convert(value, unitY(from), unitY(to));
    }
    int16_t MousePointer() const override { return mousePointer_; }
    void setMousePointer(int16_t v) override { mousePointer_ = v; }
    PicturePtr MouseIcon() const override { return mouseIcon_; }
    void setMouseIcon(PicturePtr p) override { mouseIcon_ = std::move(p); }

    void place(float width, float height) {
        widthTw_ = width;
        heightTw_ = height;
        rescale();
    }

    // Whether c is one of this site's children or inside one of its components.
    bool contains(const Child* c) const {
        for (const HostSite* s = siteOfChild(c); s; s = s->parent_)
            if (s == this) return true;
        return false;
    }

  private:
    void adopt(const ChildPtr& c, std::string name) {
        c->setVisible(false);  // children start hidden; the control shows what it uses
        c->attach(this, std::move(name));
        children_.push_back(c);
        zorder_.insert(zorder_.begin(), c.get());  // a new child lies on top
    }

    void rescale() {
        scaleLeft_ = scaleTop_ = 0;
        scaleWidth_ = widthTw_ / twipsPerUnitX(mode_);
        scaleHeight_ = heightTw_ / twipsPerUnitY(mode_);
    }

    // Twips in one unit; User is this surface's own scale.
    float unitX(ScaleMode m) const {
        if (m != ScaleMode::User) return twipsPerUnitX(m);
        if (mode_ != ScaleMode::User) return twipsPerUnitX(mode_);
        return widthTw_ / scaleWidth_;
    }
    float unitY(ScaleMode m) const {
        if (m != ScaleMode::User) return twipsPerUnitY(m);
        if (mode_ != ScaleMode::User) return twipsPerUnitY(mode_);
        return heightTw_ / scaleHeight_;
    }
    static float convert(float value, float fromUnit, float toUnit) {
        if (toUnit == 0) return 0;  // a user scale over an empty surface has no size
        return float(double(value) * fromUnit / toUnit);
    }

    HeadlessHost::Impl* host_;
    Control* control_;
    HostSite* parent_;
    ExtenderChild* extender_;
    std::vector<ChildPtr> children_;
    std::vector<Child*> zorder_;  // front first

    int32_t hwnd_ = newWindowHandle();
    int32_t hdc_ = newWindowHandle();
    bool enabled_ = true;
    float widthTw_ = 0, heightTw_ = 0;
    ScaleMode mode_ = ScaleMode::Twips;
    float scaleLeft_ = 0, scaleTop_ = 0, scaleWidth_ = 0, scaleHeight_ = 0;
    int16_t mousePointer_ = 0;
    PicturePtr mouseIcon_;

    friend class ExtenderChild;
};

bool isExtenderOf(const HostSite* s, const Child* c);

// The key (and shift state) that types a character on a US keyboard; VK_PACKET (231) for others.
void keyForCharacter(uint32_t cp, int16_t& code, int16_t& shift);
// Code points of UTF-8 text; an invalid byte gives the replacement character.
std::vector<uint32_t> decodeUtf8(std::string_view s);

}  // namespace hosting

}  // namespace ax
