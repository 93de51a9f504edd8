// A grid on a headless host for the cell-format, hit-test and transaction tests: an inner grid that
// can be told to fail, an image list to take pictures from, and the events the host heard.
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
#include "platform/automation/errors.h"
#include "platform/controls/image_combo.h"
#include "platform/flexgrid/flexgrid_errors.h"
#include "platform/flexgrid/headless_flexgrid.h"
#include "platform/headless/headless_children.h"
#include "platform/runtime/registry.h"
#include "tests/support/error_of.h"
#include "tests/support/number_editor.h"

namespace vantrel::fmttest {

inline void registerNumberEditor() { testsupport::registerNumberEditor("vantrel-format", VN_ZEL_LIBRARY); }

using testsupport::errorOf;

// An inner grid whose named operations fail once armed, as a broken surface would.
class BreakableGrid : public ax::HeadlessFlexGrid {
  public:
    std::vector<std::string> failing;

    void setRedraw(bool v) override { check("Redraw"), HeadlessFlexGrid::setRedraw(v); }
    void setTextMatrix(int32_t r, int32_t c, const std::string& t) override {
        check("TextMatrix"), HeadlessFlexGrid::setTextMatrix(r, c, t);
    }
    void setCellPicture(ax::PicturePtr p) override {
        check("CellPicture"), HeadlessFlexGrid::setCellPicture(p);
    }
    int32_t RowPos(int32_t r) const override { return check("RowPos"), HeadlessFlexGrid::RowPos(r); }
    int32_t ColPos(int32_t c) const override { return check("ColPos"), HeadlessFlexGrid::ColPos(c); }

  private:
    void check(const std::string& what) const {
        if (std::find(failing.begin(), failing.end(), what) != failing.end())
            ax::raise(ax::flexerr::InvalidPropertyValue,
                      ax::flexerr::text(ax::flexerr::InvalidPropertyValue));
    }
};

class BreakableChildren : public ax::ChildFactory {
  public:
    std::shared_ptr<BreakableGrid> grid = std::make_shared<BreakableGrid>();
    ax::ChildPtr create(ax::ChildKind kind) override {
        if (kind == ax::ChildKind::FlexGrid) return grid;
        return rest_.create(kind);
    }

  private:
    ax::HeadlessChildFactory rest_;
};

// Counts the current-cell events the host hears.
class CellEvents : public VantrelEvents {
  public:
    int rowColChanges = 0, selChanges = 0;
    void RowColChange() override { ++rowColChanges; }
    void SelChange() override { ++selChanges; }
};

// A small picture of one colour; each call makes a picture with a handle of its own.
inline ax::PicturePtr solidPicture(uint32_t rgba) {
    return std::make_shared<ax::Picture>(4, 4, std::vector<uint32_t>(16, rgba));
}

// A grid of 6 rows x 4 columns, one fixed row and column, texts "r<row>c<col>", in user mode.
class FormatTest : public ::testing::Test {
  protected:
    FormatTest() {
        registerNumberEditor();
        makeHeadlessHost();  // loads the headless children's library
        host = std::make_unique<ax::HeadlessHost>(children);
        grid = std::make_shared<Vantrel>();
        grid->setEventSink(&events);
    }
    ~FormatTest() override { grid->setEventSink(nullptr); }

    void SetUp() override { place(true); }

    void place(bool userMode) {
        host->setUserMode(userMode);
        host->place(grid, 6000, 3000);
        grid->setCols(4);
        grid->setRows(6);
        grid->setFixedRows(1);
        grid->setFixedCols(1);
        for (int32_t r = 0; r < 6; ++r)
            for (int32_t c = 0; c < 4; ++c)
                inner().setTextMatrix(r, c, "r" + std::to_string(r) + "c" + std::to_string(c));
        host->clearPropertyChanges();
    }

    static void makeHeadlessHost() { (void)ax::makeHeadlessHost(); }

    BreakableGrid& inner() const { return *children->grid; }
    size_t changesNamed(const std::string& name) const {
        auto all = host->propertyChanges(*grid);
        return size_t(std::count(all.begin(), all.end(), name));
    }
    void at(int32_t row, int32_t col) {
        grid->setRow(row);
        grid->setCol(col);
    }
    void useColumn(int32_t col, int32_t kind) {
        const int32_t row = inner().Row();
        grid->setCol(col);
        grid->setColInputStyle(kind);
        grid->setRow(row);
    }
    // An image list of two pictures (keys "red" and "blue") attached to the grid.
    std::shared_ptr<ax::ImageList> attachImages() {
        auto list = std::make_shared<ax::ImageList>();
        list->ListImages()->Add(ax::Variant(), ax::Variant("red"),
                                ax::Variant(std::shared_ptr<ax::Object>(red)));
        list->ListImages()->Add(ax::Variant(), ax::Variant("blue"),
                                ax::Variant(std::shared_ptr<ax::Object>(blue)));
        grid->setImageList(list);
        return list;
    }
    // The handle of the picture a cell shows, read from the inner grid (which sees check marks too).
    int32_t pictureAt(int32_t row, int32_t col) {
        const int32_t r = inner().Row(), c = inner().Col();
        inner().setRow(row);
        inner().setCol(col);
        const int32_t handle = inner().CellPicture()->Handle();
        inner().setRow(r);
        inner().setCol(c);
        return handle;
    }

    std::shared_ptr<BreakableChildren> children = std::make_shared<BreakableChildren>();
    std::unique_ptr<ax::HeadlessHost> host;
    std::shared_ptr<Vantrel> grid;
    CellEvents events;
    ax::PicturePtr red = solidPicture(0xFF0000FFu);
    ax::PicturePtr blue = solidPicture(0xFFFF0000u);
};

}  // namespace vantrel::fmttest
