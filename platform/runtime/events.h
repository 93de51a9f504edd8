// Events by name: a late-bound host receives each event's name and its arguments by reference,
// and values it writes into them reach the raising control.
#pragma once
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/runtime/dispatch.h"

namespace ax {

class EventSink {
  public:
    virtual ~EventSink() = default;
    virtual void OnEvent(int32_t dispid, std::string_view name, std::vector<Variant>& args) = 0;
};

// The connection point of a control: every advised sink hears every event, in advise order.
class EventSource {
  public:
    void Advise(std::shared_ptr<EventSink> sink) { sinks_.push_back(std::move(sink)); }
    void Unadvise(const std::shared_ptr<EventSink>& sink) { std::erase(sinks_, sink); }
    bool hasSinks() const { return !sinks_.empty(); }

    // Raises to the sinks by name, passing the referenced values; values written by a sink are
    // copied back into the references.
    template <class... A>
    void raise(int32_t dispid, std::string_view name, A&... refs) {
        if (sinks_.empty()) return;
        std::vector<Variant> args{toVariant(refs)...};
        auto sinks = sinks_;  // a handler may unadvise
        for (auto& s : sinks) s->OnEvent(dispid, name, args);
        size_t i = 0;
        ((refs = fromVariant<std::remove_cvref_t<A>>(args[i++])), ...);
    }

  private:
    std::vector<std::shared_ptr<EventSink>> sinks_;
};

// An object that raises events: a late-bound client finds its connection point through this.
class Connectable {
  public:
    virtual ~Connectable() = default;
    virtual EventSource& events() = 0;
};

// Connects a sink to obj's events; false when obj raises none.
inline bool advise(Object& obj, std::shared_ptr<EventSink> sink) {
    auto* c = dynamic_cast<Connectable*>(&obj);
    if (!c) return false;
    c->events().Advise(std::move(sink));
    return true;
}

}  // namespace ax
