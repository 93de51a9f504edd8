// A headless grid sized like a small window, with a log of the notifications it raises.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/automation/errors.h"
#include "platform/flexgrid/headless_flexgrid.h"
#include "tests/support/error_of.h"

namespace fgtest {

// Fills every cell with "r,c" so that a moved cell shows where it came from.
inline void fillCoordinates(ax::FlexGrid& g) {
    for (int32_t r = 0; r < g.Rows(); ++r)
        for (int32_t c = 0; c < g.Cols(); ++c)
            g.setTextMatrix(r, c, std::to_string(r) + "," + std::to_string(c));
}

inline std::vector<std::string> column(const ax::FlexGrid& g, int32_t c) {
    std::vector<std::string> v;
    for (int32_t r = g.FixedRows(); r < g.Rows(); ++r) v.push_back(g.TextMatrix(r, c));
    return v;
}

using testsupport::errorOf;

// Records notifications by name, with the current cell as each handler saw it.
struct Recorder {
    std::vector<std::string> log;
    void attach(ax::FlexGrid& g) {
        auto at = [&g](const char* name) {
            return std::string(name) + "@" + std::to_string(g.Row()) + "," + std::to_string(g.Col());
        };
        g.onLeaveCell = [this, at] { log.push_back(at("Leave")); };
        g.onEnterCell = [this, at] { log.push_back(at("Enter")); };
        g.onRowColChange = [this, at] { log.push_back(at("RowCol")); };
        g.onSelChange = [this, &g] {
            log.push_back("Sel@" + std::to_string(g.RowSel()) + "," + std::to_string(g.ColSel()));
        };
        g.onScroll = [this, &g] {
            log.push_back("Scroll@" + std::to_string(g.TopRow()) + "," + std::to_string(g.LeftCol()));
        };
        g.onMouseDown = [this, at](int16_t&, int16_t&, float&, float&) { log.push_back(at("MouseDown")); };
        g.onMouseUp = [this](int16_t&, int16_t&, float&, float&) { log.push_back("MouseUp"); };
        g.onKeyDown = [this](int16_t& k, int16_t&) { log.push_back("KeyDown " + std::to_string(k)); };
        g.onKeyPress = [this](int16_t& k) { log.push_back("KeyPress " + std::to_string(k)); };
        g.onKeyUp = [this](int16_t& k, int16_t&) { log.push_back("KeyUp " + std::to_string(k)); };
    }
};

class Grid : public ::testing::Test {
  protected:
    // 20 rows of 240 twips with one fixed row, 6 columns of 960 twips with one fixed column, in a
    // surface 3000 wide and 2400 high: ten rows and three columns show at once.
    void SetUp() override {
        g.setRows(20);
        g.setCols(6);
        g.setWidth(3000);
        g.setHeight(2400);
        fillCoordinates(g);
    }
    ax::HeadlessFlexGrid g;
    Recorder rec;
};

}  // namespace fgtest
