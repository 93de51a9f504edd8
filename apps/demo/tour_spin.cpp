// Step 1: the spin-input control on its own.
#include "apps/demo/tour.h"
#include "platform/runtime/events.h"

namespace demo {

namespace {

// Prints each event a component raises, with its arguments.
class PrintingSink : public ax::EventSink {
  public:
    void OnEvent(int32_t, std::string_view name, std::vector<ax::Variant>& args) override {
        std::string line = "    event " + std::string(name);
        for (size_t i = 0; i < args.size(); ++i) {
            std::string t;
            try {
                t = args[i].toString();
            } catch (const ax::AutomationError&) {
                t = "(object)";
            }
            line += (i ? ", " : " ") + t;
        }
        say("%s\n", line.c_str());
    }
};

int16_t valueOf(ax::Control& zel) { return int16_t(get(zel, "Value").toLong()); }

void selectAll(ax::HeadlessHost& host) {
    host.typeKey(ax::key::Home);
    host.typeKey(ax::key::End, ax::shiftmask::Shift);
}

}  // namespace

void spinTour(ax::HeadlessHost& host) {
    say("\n1. The spin-input control ZelCtrl.Zel, placed alone\n");
    std::shared_ptr<ax::Control> zel;
    if (!step("create", [&] { zel = create("ZelCtrl.Zel"); })) return;
    if (!step("place", [&] { host.place(zel, 1200, 300); })) return;
    step("bounds", [&] {
        let(*zel, "Min", ax::Variant(int16_t(0)));
        let(*zel, "Max", ax::Variant(int16_t(50)));
        let(*zel, "Value", ax::Variant(int16_t(7)));
        say("  Min 0, Max 50, Value set to 7: Value reads %d\n", valueOf(*zel));
        expect(valueOf(*zel) == 7, "Value 7 after setting it");
    });
    zel->events().Advise(std::make_shared<PrintingSink>());
    step("typing and arrows", [&] {
        auto field = host.child(*zel, "Txt");
        if (!field) ax::raise(ax::err::MemberNotFound, "no text field child");
        host.click(field, 30, 30);
        say("  the user selects the text and types 42:\n");
        selectAll(host);
        host.typeText("42");
        say("  Value reads %d\n", valueOf(*zel));
        expect(valueOf(*zel) == 42, "typing 42 gives Value 42");
        say("  then selects it again and types 99: the first 9 replaces 42, the second would make 99,\n"
            "  above Max, and is refused:\n");
        selectAll(host);
        host.typeText("99");
        say("  Value reads %d\n", valueOf(*zel));
        expect(valueOf(*zel) == 9, "the key that would pass Max is refused, leaving 9");
        const int16_t before = valueOf(*zel);
        auto arrows = host.child(*zel, "FltScrollBar");
        if (!arrows) ax::raise(ax::err::MemberNotFound, "no spin arrows child");
        say("  the user clicks the right (raising) arrow twice:\n");
        const float x = arrows->Width() - 30, y = arrows->Height() / 2;
        host.click(arrows, x, y);
        host.click(arrows, x, y);
        say("  Value reads %d\n", valueOf(*zel));
        expect(valueOf(*zel) == std::min<int16_t>(before + 2, 50), "two arrow clicks raise Value by 2");
    });
}

}  // namespace demo
