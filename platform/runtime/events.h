// Events by name and id: a late-bound host receives each event's dispatch id, name and arguments by
// reference, and values it writes into them reach the raising control. A source may describe the
// events it raises, so a host can bind handlers by event name and parameter name.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/runtime/dispatch.h"

namespace ax {

// One event of a component's event interface; every parameter is passed by reference.
struct EventDescription {
    std::string_view name;
    int32_t dispid = 0;
    std::array<std::string_view, 8> params{};
    int paramCount = 0;
};

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

    // The events this source raises, set once by the component that owns it (a static table).
    void describe(std::span<const EventDescription> events) { described_ = events; }
    std::span<const EventDescription> described() const { return described_; }
    // A described event by name (case-insensitive) or by id; nullptr when there is none.
    const EventDescription* find(std::string_view name) const {
        for (const auto& e : described_)
            if (detail::NameEqual{}(e.name, name)) return &e;
        return nullptr;
    }
    const EventDescription* find(int32_t dispid) const {
        for (const auto& e : described_)
            if (e.dispid == dispid) return &e;
        return nullptr;
    }

    // Raises to the sinks by name, passing the referenced values; values written by a sink are
    // copied back into the references, all of them or (when one does not convert) none.
    template <class... A>
    void raise(int32_t dispid, std::string_view name, A&... refs) {
        if (sinks_.empty()) return;
        std::vector<Variant> args{toVariant(refs)...};
        auto sinks = sinks_;  // a handler may unadvise
        for (auto& s : sinks) s->OnEvent(dispid, name, args);
        writeBack(args, std::index_sequence_for<A...>{}, refs...);
    }

  private:
    template <size_t... I, class... A>
    static void writeBack(const std::vector<Variant>& args, std::index_sequence<I...>, A&... refs) {
        std::tuple<std::remove_cvref_t<A>...> values{fromVariant<std::remove_cvref_t<A>>(args[I])...};
        ((refs = std::move(std::get<I>(values))), ...);
    }

    std::vector<std::shared_ptr<EventSink>> sinks_;
    std::span<const EventDescription> described_;
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
