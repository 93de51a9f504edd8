#include "apps/demo/tour.h"

#include <cstdio>
#include <functional>
#include <string>

#include "platform/headless/headless_children.h"
#include "platform/runtime/events.h"
#include "platform/runtime/registry.h"

namespace demo {

namespace {

using ax::Variant;

int failures = 0;

// Runs one step; a failure is reported and the tour goes on with the next component.
bool step(const char* what, const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (const ax::AutomationError& e) {
        std::printf("  %s: failed with %d %s\n", what, e.number(), e.description().c_str());
        ++failures;
        return false;
    }
}

// Prints each event a component raises, with its arguments.
class PrintingSink : public ax::EventSink {
  public:
    void OnEvent(int32_t, std::string_view name, std::vector<Variant>& args) override {
        std::string line = "    event " + std::string(name);
        for (size_t i = 0; i < args.size(); ++i) {
            std::string text;
            try {
                text = args[i].toString();
            } catch (const ax::AutomationError&) {
                text = "(object)";
            }
            line += (i ? ", " : " ") + text;
        }
        std::printf("%s\n", line.c_str());
    }
};

std::shared_ptr<ax::Control> create(const char* progId) {
    auto control = std::dynamic_pointer_cast<ax::Control>(ax::CreateObject(progId));
    if (!control) ax::raise(ax::err::TypeMismatch, std::string(progId) + " is not a control");
    return control;
}

void spinTour(ax::HeadlessHost& host) {
    std::printf("\n1. The spin-input control ZelCtrl.Zel, placed alone\n");
    std::shared_ptr<ax::Control> zel;
    if (!step("create", [&] { zel = create("ZelCtrl.Zel"); })) return;
    step("place", [&] { host.place(zel, 1200, 300); });
    step("settings", [&] {
        ax::letProperty(*zel, "Min", Variant(int16_t(0)));
        ax::letProperty(*zel, "Max", Variant(int16_t(50)));
        ax::letProperty(*zel, "Value", Variant(int16_t(7)));
        std::printf("  Min 0, Max 50, Value set to 7: Value reads %s\n",
                    ax::getProperty(*zel, "Value").toString().c_str());
    });
    zel->events().Advise(std::make_shared<PrintingSink>());
    step("typing", [&] {
        auto field = host.child(*zel, "Txt");
        if (!field) ax::raise(ax::err::MemberNotFound, "no text field child");
        host.click(field, 30, 30);
        std::printf(
            "  the user selects the text and types 42, then selects it again and tries 99 (above Max):\n");
        host.typeKey(ax::key::Home);
        host.typeKey(ax::key::End, ax::shiftmask::Shift);
        host.typeText("42");
        std::printf("  Value reads %s\n", ax::getProperty(*zel, "Value").toString().c_str());
        host.typeKey(ax::key::Home);
        host.typeKey(ax::key::End, ax::shiftmask::Shift);
        host.typeText("99");
        std::printf("  Value reads %s\n", ax::getProperty(*zel, "Value").toString().c_str());
        auto arrows = host.child(*zel, "FltScrollBar");
        if (!arrows) ax::raise(ax::err::MemberNotFound, "no spin arrows child");
        std::printf("  the user clicks the right (raising) arrow twice:\n");
        const float x = arrows->Width() - 30, y = arrows->Height() / 2;
        host.click(arrows, x, y);
        host.click(arrows, x, y);
        std::printf("  Value reads %s\n", ax::getProperty(*zel, "Value").toString().c_str());
    });
}

void printGrid(ax::Control& grid) {
    const int32_t rows = ax::getProperty(grid, "Rows").toLong();
    const int32_t cols = ax::getProperty(grid, "Cols").toLong();
    for (int32_t r = 0; r < rows; ++r) {
        std::string line = "   ";
        for (int32_t c = 0; c < cols; ++c) {
            std::string t = ax::getProperty(grid, "TextMatrix", {Variant(r), Variant(c)}).toString();
            t.resize(12, ' ');
            line += " |" + t;
        }
        std::printf("%s|\n", line.c_str());
    }
}

void gridTour(ax::HeadlessHost& host) {
    std::printf("\n2. The grid control Vantrel.Vantrel\n");
    std::shared_ptr<ax::Control> grid;
    if (!step("create", [&] { grid = create("Vantrel.Vantrel"); })) return;
    if (!step("place", [&] { host.place(grid, 6000, 2400); })) return;
    step("shape and texts", [&] {
        ax::letProperty(*grid, "Rows", Variant(int32_t(4)));
        ax::letProperty(*grid, "Cols", Variant(int32_t(3)));
        ax::letProperty(*grid, "TextMatrix", Variant("Fruit"), {Variant(int32_t(0)), Variant(int32_t(1))});
        ax::letProperty(*grid, "TextMatrix", Variant("Count"), {Variant(int32_t(0)), Variant(int32_t(2))});
        ax::letProperty(*grid, "TextMatrix", Variant("Apple"), {Variant(int32_t(1)), Variant(int32_t(1))});
        std::printf("  4 rows, 3 columns, headings and one cell set by the host:\n");
        printGrid(*grid);
    });
    step("typing into a cell", [&] {
        auto inner = host.child(*grid, "FlexGrid");
        if (!inner) ax::raise(ax::err::MemberNotFound, "no inner grid child");
        ax::letProperty(*grid, "Row", Variant(int32_t(2)));
        ax::letProperty(*grid, "Col", Variant(int32_t(1)));
        inner->SetFocus();
        std::printf(
            "  on cell (2, 1) a first key opens the text editor; the user types \"Pear\" and Enter:\n");
        host.typeKey(ax::key::Space);
        host.typeText("Pear");
        host.typeKey(ax::key::Return);
        printGrid(*grid);
    });
}

}  // namespace

int runTour() {
    failures = 0;
    auto host = ax::makeHeadlessHost();
    host->setUserMode(true);
    spinTour(*host);
    gridTour(*host);
    return failures;
}

}  // namespace demo
