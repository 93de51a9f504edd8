// A grid placed on a headless host, as a form or a running program holds it, for the grid's tests.
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
#include "platform/flexgrid/flexgrid.h"
#include "platform/flexgrid/flexgrid_errors.h"
#include "platform/flexgrid/headless_flexgrid.h"
#include "platform/headless/headless_children.h"
#include "platform/runtime/registry.h"
#include "tests/support/error_of.h"
#include "tests/support/number_editor.h"

namespace vantrel::test {

inline void registerNumberEditor() { testsupport::registerNumberEditor("vantrel-tests", VN_ZEL_LIBRARY); }

using testsupport::errorOf;

// An inner grid that fails the operations a test names, as a broken surface would.
class FaultyFlexGrid : public ax::HeadlessFlexGrid {
  public:
    std::vector<std::string> failing;

    void setFixedRows(int32_t v) override { check("FixedRows"), HeadlessFlexGrid::setFixedRows(v); }
    void setCols(int32_t v) override { check("Cols"), HeadlessFlexGrid::setCols(v); }
    void setRow(int32_t v) override { check("Row"), HeadlessFlexGrid::setRow(v); }
    void setTextMatrix(int32_t r, int32_t c, const std::string& t) override {
        check("TextMatrix"), HeadlessFlexGrid::setTextMatrix(r, c, t);
    }

  private:
    void check(const std::string& what) const {
        if (std::find(failing.begin(), failing.end(), what) != failing.end())
            ax::raise(ax::flexerr::InvalidPropertyValue,
                      ax::flexerr::text(ax::flexerr::InvalidPropertyValue));
    }
};

// The headless children, except for an inner grid the test can make fail.
class FaultyChildren : public ax::ChildFactory {
  public:
    std::shared_ptr<FaultyFlexGrid> grid = std::make_shared<FaultyFlexGrid>();
    ax::ChildPtr create(ax::ChildKind kind) override {
        if (kind == ax::ChildKind::FlexGrid) return grid;
        return rest_.create(kind);
    }

  private:
    ax::HeadlessChildFactory rest_;
};

class GridTest : public ::testing::Test {
  protected:
    GridTest() {
        registerNumberEditor();
        host = ax::makeHeadlessHost();
        grid = std::make_shared<Vantrel>();
    }

    // Places the grid in a running program (user mode) unless a test asks for the form designer.
    void SetUp() override { place(true); }

    void place(bool userMode) {
        host->setUserMode(userMode);
        host->place(grid, 4800, 2400);
        host->clearPropertyChanges();
        host->clearMessageBoxes();
    }

    ax::FlexGrid& inner() { return grid->innerGrid(); }
    std::vector<std::string> changes() const { return host->propertyChanges(*grid); }
    size_t changesNamed(const std::string& name) const {
        auto all = changes();
        return size_t(std::count(all.begin(), all.end(), name));
    }

    // Rows x cols, one fixed row and one fixed column, cell texts "r<row>c<col>".
    void fill(int32_t rows, int32_t cols) {
        grid->setCols(cols);
        grid->setRows(rows);
        for (int32_t r = 0; r < rows; ++r)
            for (int32_t c = 0; c < cols; ++c)
                inner().setTextMatrix(r, c, "r" + std::to_string(r) + "c" + std::to_string(c));
        host->clearPropertyChanges();
    }

    // The texts of one column, read through the control.
    std::vector<std::string> column(int32_t col) {
        std::vector<std::string> out;
        for (int32_t r = 0; r < grid->Rows(); ++r) out.push_back(grid->TextMatrix(r, col));
        return out;
    }

    // Makes col the current column (the per-column members act on it).
    void atColumn(int32_t col) { grid->setCol(col); }

    std::unique_ptr<ax::HeadlessHost> host;
    std::shared_ptr<Vantrel> grid;
};

}  // namespace vantrel::test
