#include "platform/host/host_site.h"

#include <atomic>

namespace ax {

namespace hosting {

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

}  // namespace hosting

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

}  // namespace ax
