// Step 7: design-time settings written to an XML form file and read back into a new grid.
#include <map>

#include "apps/demo/temp_folder.h"
#include "apps/demo/tour.h"
#include "platform/headless/headless_children.h"
#include "platform/host/property_bag.h"
#include "platform/xml/xml_property_bag.h"

namespace demo {

namespace {

using ax::Variant;

std::string printable(const Variant& v) {
    try {
        return v.toString();
    } catch (const ax::AutomationError&) {
        return "(object)";
    }
}

// Everything a grid writes when saved, key by key, as text.
std::map<std::string, std::string> savedKeys(ax::HeadlessHost& host, ax::Control& grid) {
    ax::MemoryPropertyBag bag;
    host.save(grid, bag);
    std::map<std::string, std::string> keys;
    for (const auto& [name, value] : bag.values()) keys[name] = printable(value);
    return keys;
}

}  // namespace

void settingsTour() {
    say("\n7. Settings saved to a form file and read back\n");
    auto host = ax::makeHeadlessHost();
    host->setUserMode(false);
    TempFolder folder("vantrel-demo-form");
    const std::string formFile = (folder.path() / "form.xml").string();
    std::shared_ptr<ax::Control> grid, copy;
    if (!step("design a grid", [&] {
            grid = create("Vantrel.Vantrel");
            host->place(grid, 6000, 2400);
            let(*grid, "Rows", Variant(int32_t(6)));
            let(*grid, "Cols", Variant(int32_t(4)));
            let(*grid, "FixedCols", Variant(int32_t(0)));
            let(*grid, "GridLines", Variant(int16_t(2)));
            let(*grid, "AllowUserResizing", Variant(int16_t(1)));
            let(*grid, "InputStyle", Variant(int32_t(1)));
            let(*grid, "TextMaxLength", Variant(int16_t(12)));
            let(*grid, "ZelPickerMax", Variant(int32_t(99)));
            say("  in design mode: Rows 6, Cols 4, FixedCols 0, GridLines 2, AllowUserResizing 1,\n"
                "  InputStyle 1 (text), TextMaxLength 12, ZelPickerMax 99\n");
            // Column settings and cells belong to run time; the host switches over to set them.
            host->setUserMode(true);
            let(*grid, "Col", Variant(int32_t(1)));
            let(*grid, "ColTextMaxLength", Variant(int16_t(3)));
            setText(*grid, 0, 1, "Code");
            setText(*grid, 1, 1, "abc");
            say("  at run time: column 1 gets ColTextMaxLength 3 and the cells (0, 1) Code, (1, 1) abc\n");
            host->setUserMode(false);
        }))
        return;
    if (!step("save and place a new grid from the file", [&] {
            ax::XmlPropertyBag bag;
            host->save(*grid, bag);
            bag.save(formFile);
            ax::XmlPropertyBag reopened;
            const bool clean = reopened.load(formFile);
            for (const std::string& problem : reopened.problems()) say("    problem: %s\n", problem.c_str());
            expect(clean, "the form file reads back without problems");
            copy = create("Vantrel.Vantrel");
            host->place(copy, 6000, 2400, &reopened);
            say("  saved into %s and placed a second grid from it\n", formFile.c_str());
        }))
        return;
    step("the two grids save the same keys", [&] {
        const auto first = savedKeys(*host, *grid), second = savedKeys(*host, *copy);
        int same = 0;
        for (const auto& [name, value] : first) {
            auto it = second.find(name);
            if (it != second.end() && it->second == value) {
                ++same;
                continue;
            }
            say("    %-20s %s | %s\n", name.c_str(), value.c_str(),
                it == second.end() ? "(missing)" : it->second.c_str());
        }
        say("  %d of %zu saved keys equal (the second grid saves %zu)\n", same, first.size(), second.size());
        expect(same == int(first.size()) && first.size() == second.size(),
               "every saved key comes back equal");
        expect(first.count("TextMaxLength") && first.at("TextMaxLength") == "12",
               "TextMaxLength 12 is saved");
    });
    step("column settings and cells are not saved", [&] {
        host->setUserMode(true);
        let(*copy, "Col", Variant(int32_t(1)));
        const int32_t columnLimit = get(*copy, "ColTextMaxLength").toLong();
        say("  the new grid: Rows %d, Cols %d, column 1's ColTextMaxLength %d (the grid-wide value), "
            "cells (0, 1) \"%s\", (1, 1) \"%s\"\n",
            get(*copy, "Rows").toLong(), get(*copy, "Cols").toLong(), columnLimit, text(*copy, 0, 1).c_str(),
            text(*copy, 1, 1).c_str());
        expect(get(*copy, "Rows").toLong() == 6 && get(*copy, "Cols").toLong() == 4, "the shape came back");
        expect(columnLimit == 12, "the column setting did not come back");
        expect(text(*copy, 0, 1).empty() && text(*copy, 1, 1).empty(), "the cells did not come back");
    });
}

}  // namespace demo
