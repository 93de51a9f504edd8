// The guided tour: places the components on a headless host and drives them as a user would,
// reaching every member by name as a late-bound host does.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/automation/object.h"
#include "platform/automation/variant.h"
#include "platform/host/control.h"
#include "platform/host/headless_host.h"

namespace demo {

// Returns the number of steps that failed; quiet prints only failures.
int runTour(bool quiet = false);

// Shared by the tour's parts.
void say(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Runs one step; a thrown error or an unmet expectation counts as a failure and the tour goes on.
bool step(const char* what, const std::function<void()>& body);
// An expectation of a step: prints what was expected and counts a failure when it does not hold.
void expect(bool holds, const std::string& what);
std::shared_ptr<ax::Control> create(const char* progId);
void printGrid(ax::Control& grid);

// Member access by name, the way a late-bound host writes it.
ax::Variant get(ax::Control& c, const char* name);
void let(ax::Control& c, const char* name, const ax::Variant& value);
std::string text(ax::Control& grid, int32_t row, int32_t col);
void setText(ax::Control& grid, int32_t row, int32_t col, const std::string& value);
// Makes (row, col) current and gives the inner grid the focus, ready for keys.
void goTo(ax::HeadlessHost& host, ax::Control& grid, int32_t row, int32_t col);

// The tour's parts, one per file.
void spinTour(ax::HeadlessHost& host);
std::shared_ptr<ax::Control> gridShapeTour(ax::HeadlessHost& host);
void editingTour(ax::HeadlessHost& host, ax::Control& grid);
void maintainedTour(ax::Control& grid);
void transactionsTour(ax::Control& grid);
void exchangeTour(ax::HeadlessHost& host);
void settingsTour();

}  // namespace demo
