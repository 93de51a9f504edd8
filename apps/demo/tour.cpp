#include "apps/demo/tour.h"

#include <cstdarg>
#include <cstdio>

#include "platform/headless/headless_children.h"
#include "platform/runtime/registry.h"

namespace demo {

namespace {

bool quietTour = false;
int failures = 0;
int unmet = 0;  // unmet expectations inside the running step

}  // namespace

void say(const char* format, ...) {
    if (quietTour) return;
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
}

bool step(const char* what, const std::function<void()>& body) {
    unmet = 0;
    try {
        body();
    } catch (const ax::AutomationError& e) {
        std::printf("  %s: failed with %d %s\n", what, e.number(), e.description().c_str());
        ++failures;
        return false;
    }
    if (unmet == 0) return true;
    std::printf("  %s: %d expectation(s) not met\n", what, unmet);
    ++failures;
    return false;
}

void expect(bool holds, const std::string& what) {
    if (holds) return;
    std::printf("  NOT AS EXPECTED: %s\n", what.c_str());
    ++unmet;
}

std::shared_ptr<ax::Control> create(const char* progId) {
    auto control = std::dynamic_pointer_cast<ax::Control>(ax::CreateObject(progId));
    if (!control) ax::raise(ax::err::TypeMismatch, std::string(progId) + " is not a control");
    return control;
}

ax::Variant get(ax::Control& c, const char* name) { return ax::getProperty(c, name); }
void let(ax::Control& c, const char* name, const ax::Variant& value) { ax::letProperty(c, name, value); }

std::string text(ax::Control& grid, int32_t row, int32_t col) {
    return ax::getProperty(grid, "TextMatrix", {ax::Variant(row), ax::Variant(col)}).toString();
}

void setText(ax::Control& grid, int32_t row, int32_t col, const std::string& value) {
    ax::letProperty(grid, "TextMatrix", ax::Variant(value), {ax::Variant(row), ax::Variant(col)});
}

void goTo(ax::HeadlessHost& host, ax::Control& grid, int32_t row, int32_t col) {
    let(grid, "Row", ax::Variant(row));
    let(grid, "Col", ax::Variant(col));
    auto inner = host.child(grid, "FlexGrid");
    if (!inner) ax::raise(ax::err::MemberNotFound, "no inner grid child");
    host.setFocus(inner.get());
}

void printGrid(ax::Control& grid) {
    if (quietTour) return;
    const int32_t rows = get(grid, "Rows").toLong();
    const int32_t cols = get(grid, "Cols").toLong();
    for (int32_t r = 0; r < rows; ++r) {
        std::string line = "   ";
        for (int32_t c = 0; c < cols; ++c) {
            std::string t = text(grid, r, c);
            // Cut on a character boundary so accented texts stay readable.
            size_t cut = t.size() > 12 ? 12 : t.size();
            while (cut < t.size() && cut > 0 && (static_cast<unsigned char>(t[cut]) & 0xC0) == 0x80) --cut;
            t.resize(cut);
            size_t width = 0;
            for (unsigned char ch : t) width += (ch & 0xC0) != 0x80;
            line += " |" + t + std::string(12 - width, ' ');
        }
        std::printf("%s|\n", line.c_str());
    }
}

int runTour(bool quiet) {
    quietTour = quiet;
    failures = 0;
    auto host = ax::makeHeadlessHost();
    host->setUserMode(true);
    spinTour(*host);
    if (auto grid = gridShapeTour(*host)) {
        editingTour(*host, *grid);
        maintainedTour(*grid);
        transactionsTour(*grid);
    }
    exchangeTour(*host);
    settingsTour();
    return failures;
}

}  // namespace demo
