// A small component library for the runtime tests: never linked into them, only registered,
// loaded and created by its programmatic identifier.
#include <memory>
#include <string>

#include "platform/runtime/dispatch.h"
#include "platform/runtime/events.h"
#include "platform/runtime/registry.h"

namespace axtest {

class Counter : public ax::Object, public ax::Connectable {
  public:
    int32_t Value() const { return value_; }
    // Raises Changing (NewValue, Cancel by reference) then Changed; a sink may alter or veto.
    void setValue(int32_t v) {
        bool cancel = false;
        events_.raise(1, "Changing", v, cancel);
        if (cancel) return;
        value_ = v;
        int32_t now = value_;
        events_.raise(2, "Changed", now);
    }
    int32_t Increment(int32_t by) {
        setValue(value_ + by);
        return value_;
    }
    // Divides the value; the results come back through the by-reference arguments.
    bool Split(int32_t divisor, int32_t& quotient, int32_t& remainder) const {
        if (divisor == 0) return false;
        quotient = value_ / divisor;
        remainder = value_ % divisor;
        return true;
    }
    std::string Caption() const { return caption_; }
    void setCaption(std::string c) { caption_ = std::move(c); }
    std::shared_ptr<ax::Object> Tag() const { return tag_; }
    void setTag(std::shared_ptr<ax::Object> t) { tag_ = std::move(t); }

    ax::EventSource& events() override { return events_; }

    AX_DECLARE_DISPATCH(Counter);

  private:
    int32_t value_ = 0;
    std::string caption_ = "Counter";
    std::shared_ptr<ax::Object> tag_;
    ax::EventSource events_;
};

const ax::DispatchTable<Counter>& Counter::dispatchTable() {
    static const auto table = [] {
        ax::DispatchTable<Counter> t;
        t.prop("Value", &Counter::Value, &Counter::setValue)
            .method("Increment", &Counter::Increment, {ax::Variant(int32_t(1))})
            .method("Split", &Counter::Split)
            .prop("Caption", &Counter::Caption, &Counter::setCaption)
            .propRef("Tag", &Counter::Tag, &Counter::setTag);
        return t;
    }();
    return table;
}

}  // namespace axtest

AX_COMPONENT_LIBRARY({"AxTest.Counter", "{6B1D53A0-4C1E-4E55-9A1B-2F0C7D8E9A01}", false,
                      [] { return std::make_shared<axtest::Counter>(); }})
