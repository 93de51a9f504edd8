// What the editing tests share: the headless host with its standard children, the number editor's
// component registered in a registry of its own; a grid placed in user mode; and a
// record of the events the host received.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "grid/frame/vantrel.h"
#include "platform/controls/check_box.h"
#include "platform/controls/headless/combo_box.h"
#include "platform/controls/headless/dt_picker.h"
#include "platform/controls/headless/image_combo.h"
#include "platform/controls/mask_ed_box.h"
#include "platform/controls/text_box.h"
#include "platform/flexgrid/flexgrid.h"
#include "platform/headless/headless_children.h"
#include "platform/runtime/registry.h"

namespace edittest {

// Every event the host heard, as "Name" or "Name(a,b)"; a test may answer KeyPress with its own key.
class EventLog : public vantrel::VantrelEvents {
  public:
    std::vector<std::string> heard;
    std::function<void(int16_t&)> onKeyPress;

    void Click() override { heard.push_back("Click"); }
    void KeyDown(int16_t& k, int16_t& s) override { heard.push_back(named("KeyDown", k, s)); }
    void KeyPress(int16_t& k) override {
        heard.push_back("KeyPress(" + std::to_string(k) + ")");
        if (onKeyPress) onKeyPress(k);
    }
    void KeyUp(int16_t& k, int16_t& s) override { heard.push_back(named("KeyUp", k, s)); }
    void MouseDown(int16_t& b, int16_t&, float&, float&) override {
        heard.push_back("MouseDown(" + std::to_string(b) + ")");
    }
    void Scroll() override { heard.push_back("Scroll"); }

    int count(const std::string& what) const { return int(std::count(heard.begin(), heard.end(), what)); }
    void clear() { heard.clear(); }

  private:
    static std::string named(const char* name, int16_t a, int16_t b) {
        return std::string(name) + "(" + std::to_string(a) + "," + std::to_string(b) + ")";
    }
};

// The number editor is created by its identifier: its library is registered once per program, in a
// registry of the program's own that goes when the program ends.
class NumberEditorRegistry : public ::testing::Environment {
  public:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("vantrel-editing-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        ax::setRegistryPath((dir_ / "registry").string());
        ax::registerLibrary(VN_ZEL_LIBRARY);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

  private:
    std::filesystem::path dir_;
};

// A grid of 6 rows and 4 columns (one fixed row, one fixed column) on a host in user mode.
class EditingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host = ax::makeHeadlessHost();
        host->setUserMode(true);
        grid = std::make_shared<vantrel::Vantrel>();
        grid->setEventSink(&events);
        host->place(grid, 6000, 3000);
        grid->setCols(4);
        grid->setRows(6);
        grid->setFixedRows(1);
        grid->setFixedCols(1);
        host->clearPropertyChanges();
    }
    void TearDown() override { grid->setEventSink(nullptr); }

    ax::FlexGrid& inner() const { return grid->innerGrid(); }
    ax::ChildPtr child(const std::string& name) const { return host->child(*grid, name); }
    template <class T>
    std::shared_ptr<T> childAs(const std::string& name) const {
        return std::dynamic_pointer_cast<T>(child(name));
    }
    // The names of the grid's children that are visible, the inner grid left out.
    std::vector<std::string> visibleEditors() const {
        std::vector<std::string> names;
        for (const auto& c : host->children(*grid))
            if (c->Visible() && c->Name() != "FlexGrid") names.push_back(c->Name());
        return names;
    }

    // Makes (row, col) the current cell and sets the kind of its column.
    void useColumn(int32_t col, int32_t kind, int32_t row = 1) {
        grid->setRow(row);
        grid->setCol(col);
        grid->setColInputStyle(kind);
    }
    // The user presses a character key on the focused inner grid (down, press, up).
    void typeOnGrid(char ch) {
        host->setFocus(&inner());
        host->typeText(std::string(1, ch));
    }
    // The user clicks the current cell of the inner grid.
    void clickCurrentCell() {
        host->setFocus(&inner());
        const float x = float(inner().CellLeft() + inner().CellWidth() / 2);
        const float y = float(inner().CellTop() + inner().CellHeight() / 2);
        host->click(inner(), x, y);
    }
    // Enter and Esc as typed keys to whatever has the focus.
    void pressEnter() { host->typeKey(ax::key::Return); }
    void pressEscape() { host->typeKey(ax::key::Escape); }

    std::unique_ptr<ax::HeadlessHost> host;
    std::shared_ptr<vantrel::Vantrel> grid;
    EventLog events;
};

}  // namespace edittest
