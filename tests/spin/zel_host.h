// What the Zel tests share: a host that makes the standard children, and recorders of the events a
// host receives, typed and by name.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/headless/flat_scroll_bar.h"
#include "platform/controls/headless/text_box.h"
#include "platform/host/headless_host.h"
#include "platform/runtime/events.h"

namespace zeltest {

class StandardChildren : public ax::ChildFactory {
  public:
    ax::ChildPtr create(ax::ChildKind kind) override {
        if (kind == ax::ChildKind::TextBox) return std::make_shared<ax::HeadlessTextBox>();
        if (kind == ax::ChildKind::FlatScrollBar) return std::make_shared<ax::HeadlessFlatScrollBar>();
        return nullptr;
    }
};

// A text field that reports every text set, also one that leaves the text as it was (some desktop
// text boxes do).
class EagerTextBox : public ax::HeadlessTextBox {
  public:
    void setText(const std::string& v) override {
        if (v == Text())
            ax::fire(onChange);
        else
            ax::HeadlessTextBox::setText(v);
    }
};

class EagerChildren : public StandardChildren {
  public:
    ax::ChildPtr create(ax::ChildKind kind) override {
        if (kind == ax::ChildKind::TextBox) return std::make_shared<EagerTextBox>();
        return StandardChildren::create(kind);
    }
};

// Every event heard by name, as "Name" or "Name(arg)"; can write a value back into KeyAscii.
struct NamedEvents : ax::EventSink {
    std::vector<std::string> heard;
    std::vector<int32_t> dispids;
    int16_t keyAsciiReply = -1;  // -1: leave the argument alone
    void OnEvent(int32_t dispid, std::string_view name, std::vector<ax::Variant>& args) override {
        dispids.push_back(dispid);
        heard.push_back(args.empty() ? std::string(name)
                                     : std::string(name) + "(" + args[0].toString() + ")");
        if (name == "KeyPress" && keyAsciiReply >= 0) args[0] = ax::Variant(keyAsciiReply);
    }
    int count(const std::string& what) const { return int(std::count(heard.begin(), heard.end(), what)); }
};

}  // namespace zeltest
