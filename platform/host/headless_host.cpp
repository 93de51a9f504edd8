#include "platform/host/headless_host.h"

#include <atomic>

#include "platform/host/host_site.h"

namespace ax {

using hosting::decodeUtf8;
using hosting::ExtenderChild;
using hosting::HostSite;
using hosting::isExtenderOf;
using hosting::keyForCharacter;
using hosting::siteOfChild;

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

bool HeadlessHost::Impl::reachable(const Child* c) const {
    if (!c || !c->Visible() || !c->Enabled()) return false;
    for (const HostSite* s = siteOfChild(c); s; s = s->parent()) {
        if (!s->Enabled()) return false;
        if (const ExtenderChild* e = s->extender()) {
            if (!e->Visible() || !e->Enabled()) return false;
        } else if (!s->parent() && !s->shown) {
            return false;
        }
    }
    return true;
}

std::vector<Child*> HeadlessHost::Impl::tabStops() const {
    std::vector<Child*> stops;
    for (const auto& p : placed) {
        if (!p.site->shown || !p.site->Enabled()) continue;
        for (const auto& ch : p.site->children()) {
            if (Child* entry = focusTargetOf(ch.get())) {
                stops.push_back(entry);
                break;
            }
        }
    }
    return stops;
}

const hosting::HostSite* HeadlessHost::Impl::placedSiteOf(const Child* c) const {
    const HostSite* s = siteOfChild(c);
    while (s && s->parent()) s = s->parent();
    return s;
}

Child* HeadlessHost::Impl::tabTarget(bool backwards) const {
    const std::vector<Child*> stops = tabStops();
    if (stops.empty()) return nullptr;
    const HostSite* here = placedSiteOf(focused);
    const auto at = std::find_if(stops.begin(), stops.end(),
                                 [&](const Child* s) { return here && placedSiteOf(s) == here; });
    if (at == stops.end()) return backwards ? stops.back() : stops.front();
    const size_t n = stops.size();
    return stops[(size_t(at - stops.begin()) + (backwards ? n - 1 : 1)) % n];
}

Child* HeadlessHost::Impl::focusTargetOf(Child* c) const {
    if (!c || !reachable(c) || !c->canFocus()) return nullptr;
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

namespace {
std::atomic<ChildFactoryMaker> defaultMaker{nullptr};
}  // namespace

void setDefaultChildFactory(ChildFactoryMaker maker) { defaultMaker = maker; }
ChildFactoryMaker defaultChildFactory() { return defaultMaker; }

namespace {
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
    std::vector<std::string> all;
    for (const auto& run : impl_->requireSite(control).changes) all.insert(all.end(), run.count, run.name);
    return all;
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
void HeadlessHost::setMessageBoxHandler(std::function<int(const MessageBox&)> handler) {
    impl_->showBox = std::move(handler);
}
std::string HeadlessHost::helpFile(const Control& control) const {
    return impl_->requireSite(control).helpFile;
}

Child* HeadlessHost::focused() const { return impl_->focused; }

Child* HeadlessHost::tabStop(const Control& control) const {
    HostSite* site = impl_->siteOf(control);
    if (!site) return nullptr;
    while (site->parent()) site = site->parent();
    for (const auto& ch : site->children())
        if (Child* entry = impl_->focusTargetOf(ch.get())) return entry;
    return nullptr;
}

Child* HeadlessHost::tabStop(const Child& child) const {
    const HostSite* site = impl_->placedSiteOf(&child);
    return site && site->control() ? tabStop(*site->control()) : nullptr;
}

void HeadlessHost::setFocus(Child* child) {
    if (!child) return impl_->moveFocus(nullptr);
    child->SetFocus();
}

int16_t HeadlessHost::keyDown(int16_t keyCode, int16_t shift) {
    impl_->tabTaken = false;
    if (keyCode == key::Tab && (shift & (shiftmask::Ctrl | shiftmask::Alt)) == 0) {
        // The form takes Tab to move the focus to the next child in tab order (Shift+Tab: the one
        // before); only with nowhere else to go does the focused child see the key.
        Child* next = impl_->tabTarget((shift & shiftmask::Shift) != 0);
        if (next && next != impl_->focused) {
            impl_->tabTaken = true;
            next->SetFocus();
            return keyCode;
        }
    }
    if (auto* t = inputOf(impl_->focused)) t->keyDown(keyCode, shift);
    return keyCode;
}

int16_t HeadlessHost::keyPress(int16_t keyAscii) {
    if (keyAscii == '\t' && impl_->tabTaken) return keyAscii;  // the Tab that moved the focus
    if (auto* t = inputOf(impl_->focused)) t->keyPress(keyAscii);
    return keyAscii;
}

int16_t HeadlessHost::keyUp(int16_t keyCode, int16_t shift) {
    if (keyCode == key::Tab && impl_->tabTaken) {
        impl_->tabTaken = false;
        return keyCode;
    }
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

void HeadlessHost::commitText(std::string_view utf8) {
    for (uint32_t cp : decodeUtf8(utf8)) {
        if (cp > 0xFFFF) {
            keyPress(int16_t(uint16_t(0xD800 + ((cp - 0x10000) >> 10))));
            keyPress(int16_t(uint16_t(0xDC00 + ((cp - 0x10000) & 0x3FF))));
        } else {
            keyPress(int16_t(uint16_t(cp)));
        }
    }
}

Clipboard& HeadlessHost::clipboard() { return *impl_->clipboard; }

void HeadlessHost::setClipboard(std::shared_ptr<Clipboard> clipboard) {
    impl_->clipboard = clipboard ? std::move(clipboard) : std::make_shared<MemoryClipboard>();
}

void HeadlessHost::mouseDown(Child& child, int16_t button, int16_t shift, float x, float y) {
    if (!impl_->reachable(&child)) return;
    if (impl_->focusTargetOf(&child)) child.SetFocus();
    if (auto* t = inputOf(&child)) t->mouseDown(button, shift, x, y);
}

void HeadlessHost::mouseMove(Child& child, int16_t button, int16_t shift, float x, float y) {
    if (!impl_->reachable(&child)) return;
    if (auto* t = inputOf(&child)) t->mouseMove(button, shift, x, y);
}

void HeadlessHost::mouseUp(Child& child, int16_t button, int16_t shift, float x, float y) {
    if (!impl_->reachable(&child)) return;
    if (auto* t = inputOf(&child)) t->mouseUp(button, shift, x, y);
}

void HeadlessHost::click(Child& child, float x, float y) {
    if (!impl_->reachable(&child)) return;
    mouseDown(child, 1, 0, x, y);
    mouseUp(child, 1, 0, x, y);
    if (auto* t = inputOf(&child)) t->click();
}

void HeadlessHost::dblClick(Child& child, float x, float y) {
    if (!impl_->reachable(&child)) return;
    click(child, x, y);
    if (auto* t = inputOf(&child)) t->dblClick();
    mouseUp(child, 1, 0, x, y);
}

}  // namespace ax
