// A visual component placed on a container: it receives its site and the lifecycle notifications.
#pragma once
#include <memory>

#include "platform/automation/object.h"
#include "platform/host/property_bag.h"
#include "platform/host/site.h"
#include "platform/runtime/events.h"

namespace ax {

class Control : public Object, public Connectable {
  public:
    // The container hands the control its site before any lifecycle notification.
    virtual void SetSite(std::shared_ptr<Site> site) { site_ = std::move(site); }
    Site& site() const { return *site_; }
    bool sited() const { return site_ != nullptr; }

    // Lifecycle notifications delivered by the container.
    virtual void InitProperties() {}
    virtual void ReadProperties(PropertyBag&) {}
    virtual void WriteProperties(PropertyBag&) {}
    virtual void Show() {}
    virtual void Hide() {}
    virtual void Resize() {}
    // The focus entered or left the control (one of its children).
    virtual void EnterFocus() {}
    virtual void ExitFocus() {}

    // Late-bound event sinks.
    EventSource& events() override { return events_; }

  protected:
    std::shared_ptr<Site> site_;
    EventSource events_;
};

}  // namespace ax
