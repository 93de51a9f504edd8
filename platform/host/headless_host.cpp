#include "platform/host/headless_host.h"

#include <algorithm>
#include <atomic>

#include "platform/automation/errors.h"
#include "platform/runtime/registry.h"

namespace ax {

namespace {

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

}  // namespace

struct HeadlessHost::Impl {
    std::shared_ptr<ChildFactory> factory;
    bool userMode = false;
    FontPtr font = std::make_shared<Font>("MS Sans Serif", 8.25f);
    Locale locale = Locale::enUS();
    ScaleMode scaleMode = ScaleMode::Twips;

    struct Placed {
        std::shared_ptr<Control> control;
        std::shared_ptr<HostSite> site;
    };
    std::vector<Placed> placed;
    std::vector<MessageBox> boxes;
    std::vector<int> answers;

    Child* focused = nullptr;
    uint64_t focusMoves = 0;

    HostSite* siteOf(const Control& c) const;
    HostSite& requireSite(const Control& c) const;
    void moveFocus(Child* target);
    void focusLeft(Child* from);  // from (or something inside it) stopped being focusable
    Child* focusTargetOf(Child* c) const;
};

namespace {

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
    std::vector<std::string> changes;
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
    void PropertyChanged(std::string_view name) override { changes.emplace_back(name); }
    int MsgBox(std::string_view prompt, int buttons, std::string_view title) override {
        if (!host_) return mb::ResultOk;
        host_->boxes.push_back({std::string(prompt), buttons, std::string(title)});
        if (!host_->answers.empty()) {
            int a = host_->answers.front();
            host_->answers.erase(host_->answers.begin());
            return a;
        }
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
        host_->moveFocus(c ? host_->focusTargetOf(c) : nullptr);
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

HostSite* siteOfChild(const Child* c) { return c ? dynamic_cast<HostSite*>(c->container()) : nullptr; }

void ExtenderChild::layout() {
    if (nested_) nested_->Size(width_, height_);
}

void ExtenderChild::setVisible(bool v) {
    const bool was = visible_;
    Child::setVisible(v);
    if (was == visible_) return;
    if (auto* c = control()) {
        if (nested_) nested_->shown = v;
        v ? c->Show() : c->Hide();
    }
}

bool isExtenderOf(const HostSite* s, const Child* c) { return s && s->extender() == c; }

}  // namespace

// --- focus -------------------------------------------------------------------------------------

HostSite* HeadlessHost::Impl::siteOf(const Control& c) const {
    for (const auto& p : placed)
        if (p.control.get() == &c) return p.site.get();
    // A component placed inside another control.
    std::vector<HostSite*> pending;
    for (const auto& p : placed) pending.push_back(p.site.get());
    while (!pending.empty()) {
        HostSite* s = pending.back();
        pending.pop_back();
        if (s->control() == &c) return s;
        for (const auto& ch : s->children())
            if (auto* e = dynamic_cast<ExtenderChild*>(ch.get()); e && e->nested())
                pending.push_back(e->nested());
    }
    return nullptr;
}

HostSite& HeadlessHost::Impl::requireSite(const Control& c) const {
    HostSite* s = siteOf(c);
    if (!s) raise(err::InvalidProcedureCall, "the control is not placed on this host");
    return *s;
}

Child* HeadlessHost::Impl::focusTargetOf(Child* c) const {
    if (!c || !c->Visible() || !c->Enabled() || !c->canFocus()) return nullptr;
    if (auto* e = dynamic_cast<ExtenderChild*>(c); e && e->nested()) {
        // The focus given to a component goes to its first child that can take it.
        bool hasChildren = false;
        for (const auto& ch : e->nested()->children()) {
            hasChildren = true;
            if (Child* t = focusTargetOf(ch.get())) return t;
        }
        if (hasChildren) return nullptr;
    }
    return c;
}

void HeadlessHost::Impl::moveFocus(Child* target) {
    if (target == focused) return;
    Child* old = focused;
    const uint64_t move = ++focusMoves;

    auto chain = [](Child* c) {
        std::vector<HostSite*> sites;
        for (HostSite* s = siteOfChild(c); s; s = s->parent()) sites.push_back(s);
        return sites;  // innermost first
    };
    const auto oldChain = chain(old);
    const auto newChain = chain(target);
    auto inChain = [](const std::vector<HostSite*>& v, HostSite* s) {
        return std::find(v.begin(), v.end(), s) != v.end();
    };

    // The old child loses the focus first and completely; a handler may move it elsewhere itself.
    focused = nullptr;
    if (old) {
        old->lostFocus();
        if (focusMoves != move) return;
    }
    for (HostSite* s : oldChain) {
        if (inChain(newChain, s)) break;
        if (s->extender()) s->extender()->lostFocus();
        if (s->control()) s->control()->ExitFocus();
        if (focusMoves != move) return;
    }
    focused = target;
    for (auto it = newChain.rbegin(); it != newChain.rend(); ++it) {
        HostSite* s = *it;
        if (inChain(oldChain, s)) continue;
        if (s->control()) s->control()->EnterFocus();
        if (s->extender()) s->extender()->gotFocus();
        if (focusMoves != move) return;
    }
    if (target) target->gotFocus();
}

void HeadlessHost::Impl::focusLeft(Child* from) {
    if (!focused) return;
    HostSite* site = siteOfChild(from);
    if (!site) return;
    // Does the focus sit on `from` or inside it (a component's child)?
    bool inside = focused == from;
    for (HostSite* s = siteOfChild(focused); s && !inside; s = s->parent()) inside = isExtenderOf(s, from);
    if (!inside) return;

    // The next child of the same control in creation order, wrapping; then outwards.
    for (Child* leaving = from; site; leaving = site->extender(), site = site->parent()) {
        const auto& kids = site->children();
        auto at =
            std::find_if(kids.begin(), kids.end(), [&](const ChildPtr& p) { return p.get() == leaving; });
        const size_t n = kids.size();
        const size_t start = at == kids.end() ? 0 : size_t(at - kids.begin());
        for (size_t i = 1; i <= n; ++i) {
            Child* candidate = kids[(start + i) % n].get();
            if (candidate == leaving) continue;
            if (Child* t = focusTargetOf(candidate)) {
                moveFocus(t);
                return;
            }
        }
        if (!site->extender()) break;
    }
    moveFocus(nullptr);
}

// --- helpers -----------------------------------------------------------------------------------

namespace {
std::atomic<ChildFactoryMaker> defaultMaker{nullptr};
}  // namespace

void setDefaultChildFactory(ChildFactoryMaker maker) { defaultMaker = maker; }
ChildFactoryMaker defaultChildFactory() { return defaultMaker; }

int32_t newWindowHandle() {
    static std::atomic<int32_t> next{0x10010};
    return next.fetch_add(4);
}

float twipsPerUnitX(ScaleMode mode) {
    switch (mode) {
        case ScaleMode::Twips:
            return 1.0f;
        case ScaleMode::Points:
            return 20.0f;
        case ScaleMode::Pixels:
            return 15.0f;  // 96 dots per inch
        case ScaleMode::Characters:
            return 120.0f;
        case ScaleMode::Inches:
            return 1440.0f;
        case ScaleMode::Millimeters:
            return 56.6929f;
        case ScaleMode::Centimeters:
            return 566.929f;
        case ScaleMode::User:
            return 1.0f;
    }
    return 1.0f;
}

float twipsPerUnitY(ScaleMode mode) { return mode == ScaleMode::Characters ? 240.0f : twipsPerUnitX(mode); }

int16_t keyAsciiFor(int16_t code, int16_t shift) {
    const bool shifted = shift & shiftmask::Shift;
    if (shift & shiftmask::Alt) return 0;
    if (shift & shiftmask::Ctrl) {
        if (code >= 'A' && code <= 'Z') return int16_t(code - 'A' + 1);
        if (code == key::Return) return 10;
        if (code == key::Back) return 127;
        return 0;
    }
    if (code >= 'A' && code <= 'Z') return shifted ? code : int16_t(code + 32);
    if (code >= '0' && code <= '9') return shifted ? int16_t(")!@#$%^&*("[code - '0']) : code;
    if (code == key::Space || code == key::Return || code == key::Escape || code == key::Back) return code;
    if (code >= 96 && code <= 105) return int16_t('0' + code - 96);  // numeric keypad
    switch (code) {
        case 106:
            return '*';
        case 107:
            return '+';
        case 109:
            return '-';
        case 110:
            return '.';
        case 111:
            return '/';
        case 186:
            return shifted ? ':' : ';';
        case 187:
            return shifted ? '+' : '=';
        case 188:
            return shifted ? '<' : ',';
        case 189:
            return shifted ? '_' : '-';
        case 190:
            return shifted ? '>' : '.';
        case 191:
            return shifted ? '?' : '/';
        case 192:
            return shifted ? '~' : '`';
        case 219:
            return shifted ? '{' : '[';
        case 220:
            return shifted ? '|' : '\\';
        case 221:
            return shifted ? '}' : ']';
        case 222:
            return shifted ? '"' : '\'';
        default:
            return 0;
    }
}

namespace {

// The key (and shift state) that types a character on a US keyboard; VK_PACKET (231) for others.
void keyForCharacter(uint32_t cp, int16_t& code, int16_t& shift) {
    shift = 0;
    if (cp == '\n' || cp == '\r') {
        code = key::Return;
        return;
    }
    if (cp < 128) {
        for (int16_t k = 0; k < 256; ++k) {
            for (int16_t s : {int16_t(0), shiftmask::Shift}) {
                if (k >= 96 && k <= 111) continue;  // prefer the main keyboard to the keypad
                if (keyAsciiFor(k, s) == int16_t(cp)) {
                    code = k;
                    shift = s;
                    return;
                }
            }
        }
    }
    code = 231;
}

std::vector<uint32_t> decodeUtf8(std::string_view s) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        uint32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        bool ok = len > 0 && i + len <= s.size();
        for (int k = 1; ok && k < len; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            ok = (c >> 6) == 2;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);  // an invalid byte types the replacement character
            ++i;
            continue;
        }
        out.push_back(cp);
        i += size_t(len);
    }
    return out;
}

InputTarget* inputOf(Child* c) { return dynamic_cast<InputTarget*>(c); }

}  // namespace

// --- HeadlessHost ------------------------------------------------------------------------------

HeadlessHost::HeadlessHost(std::shared_ptr<ChildFactory> factory) : impl_(std::make_unique<Impl>()) {
    impl_->factory = std::move(factory);
    if (!impl_->factory)
        if (ChildFactoryMaker make = defaultMaker) impl_->factory = make();
    setCurrentLocale(impl_->locale);
}

HeadlessHost::~HeadlessHost() {
    impl_->focused = nullptr;
    for (auto& p : impl_->placed) p.site->detachHost();
}

void HeadlessHost::setChildFactory(std::shared_ptr<ChildFactory> factory) {
    impl_->factory = std::move(factory);
}

bool HeadlessHost::userMode() const { return impl_->userMode; }
void HeadlessHost::setUserMode(bool v) { impl_->userMode = v; }
FontPtr HeadlessHost::ambientFont() const { return impl_->font->clone(); }
void HeadlessHost::setAmbientFont(FontPtr font) {
    if (font) impl_->font = font->clone();
}
const Locale& HeadlessHost::locale() const { return impl_->locale; }
void HeadlessHost::setLocale(const Locale& locale) {
    impl_->locale = locale;
    setCurrentLocale(locale);
}
ScaleMode HeadlessHost::containerScaleMode() const { return impl_->scaleMode; }
void HeadlessHost::setContainerScaleMode(ScaleMode mode) { impl_->scaleMode = mode; }

std::shared_ptr<Site> HeadlessHost::place(std::shared_ptr<Control> control, float width, float height,
                                          PropertyBag* saved) {
    if (!control) raise(err::ObjectRequired);
    auto site = std::make_shared<HostSite>(impl_.get(), control.get(), nullptr, nullptr);
    site->place(width, height);
    impl_->placed.push_back({control, site});
    control->SetSite(site);
    if (saved)
        control->ReadProperties(*saved);
    else
        control->InitProperties();
    control->Resize();
    site->shown = true;
    control->Show();
    return site;
}

void HeadlessHost::resize(Control& control, float width, float height) {
    impl_->requireSite(control).Size(width, height);
}

void HeadlessHost::show(Control& control) {
    impl_->requireSite(control).shown = true;
    control.Show();
}

void HeadlessHost::hide(Control& control) {
    HostSite& s = impl_->requireSite(control);
    s.shown = false;
    control.Hide();
    if (impl_->focused && s.contains(impl_->focused)) impl_->moveFocus(nullptr);
}

void HeadlessHost::save(Control& control, PropertyBag& bag) {
    impl_->requireSite(control);
    control.WriteProperties(bag);
}

ControlSurface& HeadlessHost::surface(Control& control) { return impl_->requireSite(control); }

bool HeadlessHost::shown(const Control& control) const { return impl_->requireSite(control).shown; }

std::vector<ChildPtr> HeadlessHost::children(const Control& control) const {
    return impl_->requireSite(control).children();
}

ChildPtr HeadlessHost::child(const Control& control, std::string_view name) const {
    for (const auto& c : impl_->requireSite(control).children())
        if (c->Name() == name) return c;
    return nullptr;
}

std::vector<Child*> HeadlessHost::zOrder(const Control& control) const {
    return impl_->requireSite(control).zorder();
}

std::vector<std::string> HeadlessHost::propertyChanges(const Control& control) const {
    return impl_->requireSite(control).changes;
}

void HeadlessHost::clearPropertyChanges() {
    std::vector<HostSite*> pending;
    for (const auto& p : impl_->placed) pending.push_back(p.site.get());
    while (!pending.empty()) {
        HostSite* s = pending.back();
        pending.pop_back();
        s->changes.clear();
        for (const auto& ch : s->children())
            if (auto* e = dynamic_cast<ExtenderChild*>(ch.get()); e && e->nested())
                pending.push_back(e->nested());
    }
}

const std::vector<HeadlessHost::MessageBox>& HeadlessHost::messageBoxes() const { return impl_->boxes; }
void HeadlessHost::clearMessageBoxes() { impl_->boxes.clear(); }
void HeadlessHost::queueMessageBoxAnswer(int result) { impl_->answers.push_back(result); }
std::string HeadlessHost::helpFile(const Control& control) const {
    return impl_->requireSite(control).helpFile;
}

Child* HeadlessHost::focused() const { return impl_->focused; }

void HeadlessHost::setFocus(Child* child) {
    if (!child) return impl_->moveFocus(nullptr);
    child->SetFocus();
}

int16_t HeadlessHost::keyDown(int16_t keyCode, int16_t shift) {
    if (auto* t = inputOf(impl_->focused)) t->keyDown(keyCode, shift);
    return keyCode;
}

int16_t HeadlessHost::keyPress(int16_t keyAscii) {
    if (auto* t = inputOf(impl_->focused)) t->keyPress(keyAscii);
    return keyAscii;
}

int16_t HeadlessHost::keyUp(int16_t keyCode, int16_t shift) {
    if (auto* t = inputOf(impl_->focused)) t->keyUp(keyCode, shift);
    return keyCode;
}

void HeadlessHost::typeKey(int16_t keyCode, int16_t shift) {
    keyDown(keyCode, shift);
    if (int16_t ascii = keyAsciiFor(keyCode, shift)) keyPress(ascii);
    keyUp(keyCode, shift);
}

void HeadlessHost::typeText(std::string_view utf8) {
    for (uint32_t cp : decodeUtf8(utf8)) {
        int16_t code = 0, shift = 0;
        keyForCharacter(cp, code, shift);
        keyDown(code, shift);
        if (cp == '\n') cp = '\r';
        if (cp > 0xFFFF) {  // a character beyond 16 bits arrives as its two surrogate halves
            keyPress(int16_t(uint16_t(0xD800 + ((cp - 0x10000) >> 10))));
            keyPress(int16_t(uint16_t(0xDC00 + ((cp - 0x10000) & 0x3FF))));
        } else {
            keyPress(int16_t(uint16_t(cp)));
        }
        keyUp(code, shift);
    }
}

void HeadlessHost::mouseDown(Child& child, int16_t button, int16_t shift, float x, float y) {
    if (!child.Visible() || !child.Enabled()) return;
    if (impl_->focusTargetOf(&child)) child.SetFocus();
    if (auto* t = inputOf(&child)) t->mouseDown(button, shift, x, y);
}

void HeadlessHost::mouseMove(Child& child, int16_t button, int16_t shift, float x, float y) {
    if (!child.Visible() || !child.Enabled()) return;
    if (auto* t = inputOf(&child)) t->mouseMove(button, shift, x, y);
}

void HeadlessHost::mouseUp(Child& child, int16_t button, int16_t shift, float x, float y) {
    if (!child.Visible() || !child.Enabled()) return;
    if (auto* t = inputOf(&child)) t->mouseUp(button, shift, x, y);
}

void HeadlessHost::click(Child& child, float x, float y) {
    if (!child.Visible() || !child.Enabled()) return;
    mouseDown(child, 1, 0, x, y);
    mouseUp(child, 1, 0, x, y);
    if (auto* t = inputOf(&child)) t->click();
}

void HeadlessHost::dblClick(Child& child, float x, float y) {
    if (!child.Visible() || !child.Enabled()) return;
    click(child, x, y);
    if (auto* t = inputOf(&child)) t->dblClick();
    mouseUp(child, 1, 0, x, y);
}

}  // namespace ax
