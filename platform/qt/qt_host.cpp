#include "platform/qt/qt_host.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFont>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <map>
#include <vector>

#include "platform/headless/headless_children.h"
#include "platform/host/clipboard.h"
#include "platform/host/control.h"
#include "platform/host/host_site.h"
#include "platform/qt/qt_accessible.h"
#include "platform/qt/qt_children.h"
#include "platform/qt/qt_grid_widget.h"
#include "platform/qt/qt_input.h"

namespace ax {

namespace {
struct Placement {
    QtHost* host;
    QPointer<QWidget> widget;
    const Control* control;
    // A component placed inside a control (the grid's number editor): the child that holds it, whose
    // place and visibility its widget follows.
    std::weak_ptr<Child> extender;
};
// Every placed control's container, to the host and widget its children belong on.
std::map<const Container*, Placement>& placements() {
    static std::map<const Container*, Placement> m;
    return m;
}

Locale localeFromQt() {
    const QLocale l;
    return Locale::byName(l.name().replace('_', '-').toStdString());
}

FontPtr fontFromQt() {
    const QFont f = QApplication::font();
    auto font =
        std::make_shared<Font>(f.family().toStdString(), float(f.pointSizeF() > 0 ? f.pointSizeF() : 9));
    font->setBold(f.bold());
    font->setItalic(f.italic());
    return font;
}

// What a box answers when nobody presses a button: its first one.
int firstButton(int buttons) {
    switch (buttons & 0xF) {
        case 2:
            return 3;
        case 3:
        case mb::YesNo:
            return mb::ResultYes;
        case 5:
            return 4;
        default:
            return mb::ResultOk;
    }
}

int showBox(QWidget* parent, const HeadlessHost::MessageBox& box) {
    QMessageBox m(parent);
    m.setWindowTitle(QString::fromStdString(box.title.empty() ? std::string("Vantrel") : box.title));
    m.setText(QString::fromStdString(box.prompt));
    switch (box.buttons & 0x70) {
        case mb::Critical:
            m.setIcon(QMessageBox::Critical);
            break;
        case mb::Question:
            m.setIcon(QMessageBox::Question);
            break;
        case mb::Exclamation:
            m.setIcon(QMessageBox::Warning);
            break;
        case mb::Information:
            m.setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    struct B {
        QMessageBox::StandardButton qt;
        int result;
    };
    std::vector<B> buttons;
    switch (box.buttons & 0xF) {
        case mb::OkCancel:
            buttons = {{QMessageBox::Ok, mb::ResultOk}, {QMessageBox::Cancel, mb::ResultCancel}};
            break;
        case 2:
            buttons = {{QMessageBox::Abort, 3}, {QMessageBox::Retry, 4}, {QMessageBox::Ignore, 5}};
            break;
        case 3:
            buttons = {{QMessageBox::Yes, mb::ResultYes},
                       {QMessageBox::No, mb::ResultNo},
                       {QMessageBox::Cancel, mb::ResultCancel}};
            break;
        case mb::YesNo:
            buttons = {{QMessageBox::Yes, mb::ResultYes}, {QMessageBox::No, mb::ResultNo}};
            break;
        case 5:
            buttons = {{QMessageBox::Retry, 4}, {QMessageBox::Cancel, mb::ResultCancel}};
            break;
        default:
            buttons = {{QMessageBox::Ok, mb::ResultOk}};
            break;
    }
    QMessageBox::StandardButtons all;
    for (const B& b : buttons) all |= b.qt;
    m.setStandardButtons(all);
    m.setDefaultButton(buttons.front().qt);
    const int pressed = m.exec();
    for (const B& b : buttons)
        if (b.qt == pressed) return b.result;
    // Closed without a button: the cancelling answer where there is one.
    return (box.buttons & 0xF) == mb::OkOnly ? mb::ResultOk : mb::ResultCancel;
}
}  // namespace

namespace {
void followExtender(const Placement& p) {
    auto e = p.extender.lock();
    if (!e || !p.widget) return;
    p.widget->setGeometry(pixelRect(e->container(), e->Left(), e->Top(), e->Width(), e->Height()));
    p.widget->setVisible(e->Visible());
    if (e->Visible()) p.widget->raise();
}

// The container of a component placed inside one of this process's placed controls: it gets a widget
// of its own over its parent control's, the first time one of its children needs it.
const Placement* adoptNested(const Container* c) {
    std::vector<Placement> tops;
    for (const auto& [k, p] : placements())
        if (p.extender.expired() && p.control) tops.push_back(p);
    for (const Placement& top : tops) {
        std::vector<ChildPtr> children;
        try {
            children = top.host->host().children(*top.control);
        } catch (const AutomationError&) {
            continue;
        }
        for (const ChildPtr& ch : children) {
            auto* e = dynamic_cast<hosting::ExtenderChild*>(ch.get());
            if (!e || !e->nested() || static_cast<const Container*>(e->nested()) != c) continue;
            auto* w = new QWidget(top.widget);
            w->setAutoFillBackground(true);
            Placement& p = placements()[c] = {top.host, w, e->control(), ch};
            followExtender(p);
            return &p;
        }
    }
    return nullptr;
}

const Placement* placementOf(const Container* c) {
    if (!c) return nullptr;
    auto it = placements().find(c);
    if (it != placements().end()) return &it->second;
    return adoptNested(c);
}
}  // namespace

// The system clipboard, as the host's controls cut, copy and paste through it.
class SystemClipboard : public Clipboard {
  public:
    std::string text() const override {
        const QClipboard* c = QGuiApplication::clipboard();
        return c ? c->text().toStdString() : std::string();
    }
    void setText(const std::string& text) override {
        if (QClipboard* c = QGuiApplication::clipboard()) c->setText(QString::fromStdString(text));
    }
};

// Watches the top-level window holding the form for its close.
class CloseWatch : public QObject {
  public:
    CloseWatch(QWidget* form, std::function<void()> onClose)
        : QObject(form), form_(form), onClose_(std::move(onClose)) {
        form->window()->installEventFilter(this);
    }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Close && form_ && o == form_->window()) onClose_();
        return false;
    }

  private:
    QPointer<QWidget> form_;
    std::function<void()> onClose_;
};

struct QtHost::Impl {
    QPointer<QWidget> form;
    CloseWatch* closeWatch = nullptr;
    bool ownsForm = false;
    bool showBoxes = true;
    // Queued syncs and the focus watch die with the host.
    QObject context;
    bool syncQueued = false;
};

QtHost::QtHost(QWidget* parent)
    : host_(std::make_unique<HeadlessHost>(std::make_shared<QtChildFactory>())),
      impl_(std::make_unique<Impl>()) {
    impl_->form = new QWidget(parent);
    impl_->ownsForm = parent == nullptr;
    installGridAccessibility();
    host_->setUserMode(true);
    host_->setAmbientFont(fontFromQt());
    host_->setLocale(localeFromQt());
    host_->setMessageBoxHandler([this](const HeadlessHost::MessageBox& box) {
        if (!impl_->showBoxes) return firstButton(box.buttons);
        return showBox(impl_->form, box);
    });
    // Closing the window takes the focus off the controls first, so an open editor keeps what was
    // written in it as when the user clicks elsewhere.
    impl_->closeWatch = new CloseWatch(impl_->form, [this] {
        Child* f = host_->focused();
        if (!f) return;
        // The focus goes where a click elsewhere in the control would take it: the control's own
        // grid surface when it has one (an editor over it then ends its edit), else nowhere.
        Child* surface = nullptr;
        for (const auto& [c, p] : placements())
            if (p.host == this && p.extender.expired() && p.control)
                for (QtView* v : liveViews())
                    if (v->child().container() == c && dynamic_cast<QtFlexGrid*>(&v->child()) &&
                        &v->child() != f)
                        surface = &v->child();
        host_->setFocus(surface);
        if (surface) host_->setFocus(nullptr);
        syncViews();
    });
    host_->setClipboard(std::make_shared<SystemClipboard>());
    // The focus going to a widget of the window that is not one of the host's (the user clicks or tabs
    // there) takes it off the controls, so an open editor ends as on any focus loss. Popups (a dropped
    // list, a calendar) and other windows, such as a message box, leave it where it is.
    QObject::connect(qApp, &QApplication::focusChanged, &impl_->context, [this](QWidget*, QWidget* now) {
        if (!now || !impl_->form || !host_->focused()) return;
        if (now->window() != impl_->form->window() || owns(now)) return;
        host_->setFocus(nullptr);
        syncViews();
    });
}

QtHost::~QtHost() {
    for (auto it = placements().begin(); it != placements().end();)
        it = it->second.host == this ? placements().erase(it) : std::next(it);
    // Controls go before the widgets their children sit on.
    host_.reset();
    if (impl_->ownsForm) delete impl_->form.data();
}

QWidget* QtHost::form() const { return impl_->form; }

std::shared_ptr<Site> QtHost::place(std::shared_ptr<Control> control, float width, float height, int x, int y,
                                    PropertyBag* saved) {
    auto* surface = new QWidget(impl_->form);
    surface->setGeometry(x, y, int(width / twipsPerPixelX() + 0.5f), int(height / twipsPerPixelY() + 0.5f));
    surface->setAutoFillBackground(true);
    surface->show();
    const Control* key = control.get();
    auto site = host_->place(std::move(control), width, height, saved);
    if (auto* c = dynamic_cast<Container*>(site.get())) placements()[c] = {this, surface, key, {}};
    syncViews();
    return site;
}

void QtHost::resize(Control& control, float width, float height) {
    if (QWidget* w = surfaceWidget(control))
        w->resize(int(width / twipsPerPixelX() + 0.5f), int(height / twipsPerPixelY() + 0.5f));
    host_->resize(control, width, height);
    syncViews();
}

QWidget* QtHost::surfaceWidget(const Control& control) const {
    for (const auto& [c, p] : placements())
        if (p.host == this && p.control == &control) return p.widget;
    return nullptr;
}

float QtHost::twipsPerPixelX() const {
    const QScreen* s =
        impl_->form && impl_->form->screen() ? impl_->form->screen() : QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return float(1440.0 / (dpi > 0 ? dpi : 96.0));
}

float QtHost::twipsPerPixelY() const {
    const QScreen* s =
        impl_->form && impl_->form->screen() ? impl_->form->screen() : QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchY() : 96.0;
    return float(1440.0 / (dpi > 0 ? dpi : 96.0));
}

void QtHost::setShowMessageBoxes(bool v) { impl_->showBoxes = v; }

void QtHost::requestSync() {
    if (impl_->syncQueued) return;
    impl_->syncQueued = true;
    QMetaObject::invokeMethod(
        &impl_->context,
        [this] {
            impl_->syncQueued = false;
            syncViews();
        },
        Qt::QueuedConnection);
}

void QtHost::syncViews() {
    // A sync may make new children or change others (a view writing its widget); a few passes settle it.
    for (int pass = 0; pass < 4; ++pass) {
        const std::vector<QtView*> now = liveViews();
        bool synced = false;
        for (QtView* v : now) {
            if (std::find(liveViews().begin(), liveViews().end(), v) == liveViews().end()) continue;
            if (!v->needsSync() || hostOf(v->child().container()) != this) continue;
            v->sync();
            synced = true;
        }
        if (!synced) break;
    }
    // Children stack as the container orders them (an editor shown over the grid lies in front).
    for (const auto& [c, p] : placements()) {
        if (p.host != this || !p.extender.expired() || !p.control) continue;
        try {
            const std::vector<Child*> order = host_->zOrder(*p.control);
            for (auto it = order.rbegin(); it != order.rend(); ++it)
                if (QWidget* w = widgetOf(**it)) w->raise();
        } catch (const AutomationError&) {
        }
    }
    // Components inside controls (after the views, so they stay above the control's own children).
    for (const auto& [c, p] : placements())
        if (p.host == this) followExtender(p);
}

namespace {
// The outermost site of a child: the placed control whose tab stop it belongs to.
const hosting::HostSite* placedSite(const Child& c) {
    const hosting::HostSite* s = hosting::siteOfChild(&c);
    while (s && s->parent()) s = s->parent();
    return s;
}
}  // namespace

bool QtHost::owns(const QWidget* w) const {
    if (!w) return false;
    for (const auto& [c, p] : placements())
        if (p.host == this && p.widget && (p.widget == w || p.widget->isAncestorOf(w))) return true;
    return false;
}

Child* QtHost::tabStopOf(const Child& c) const { return host_->tabStop(c); }

bool QtHost::tabOut(Child& from, bool backwards) {
    const hosting::HostSite* own = placedSite(from);
    QWidget* ownWidget = own ? surfaceOf(own) : nullptr;
    QWidget* start = QApplication::focusWidget();
    if (!start || !ownWidget || !ownWidget->isAncestorOf(start)) start = ownWidget;
    if (!start) return false;
    // Qt's focus order of the window, skipping this control's own widgets and what cannot take a Tab.
    QWidget* next = nullptr;
    for (QWidget* w = start;;) {
        w = backwards ? w->previousInFocusChain() : w->nextInFocusChain();
        if (!w || w == start) break;
        if (w == ownWidget || ownWidget->isAncestorOf(w) || w->window() != start->window()) continue;
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || !w->isEnabled() || w->focusProxy())
            continue;
        next = w;
        break;
    }
    if (!next) return false;
    // Another control of this host is entered where its tab stop is.
    for (const auto& [c, p] : placements()) {
        if (p.host != this || !p.extender.expired() || !p.control || !p.widget) continue;
        if (p.widget != next && !p.widget->isAncestorOf(next)) continue;
        Child* entry = host_->tabStop(*p.control);
        if (!entry) return false;
        entry->SetFocus();
        syncViews();
        return true;
    }
    next->setFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    return true;
}

QtHost* QtHost::hostOf(const Container* c) {
    const Placement* p = placementOf(c);
    return p ? p->host : nullptr;
}

QWidget* QtHost::surfaceOf(const Container* c) {
    const Placement* p = placementOf(c);
    return p ? p->widget.data() : nullptr;
}

}  // namespace ax
