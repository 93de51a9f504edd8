// The user guide's examples, one function each, compiled with the build so the guide cannot drift
// from the code. They are linked into a program that is built but not run by the tests.
#pragma once
#include <memory>
#include <string>

#include "grid/frame/vantrel.h"
#include "platform/host/headless_host.h"

namespace guide {

std::shared_ptr<vantrel::Vantrel> placeGrid(ax::HeadlessHost& host);
std::shared_ptr<ax::Control> placeSpinControl(ax::HeadlessHost& host);
void setUpColumns(vantrel::Vantrel& grid);
void exchangeArrays(vantrel::Vantrel& grid);
bool loadFromDatabase(vantrel::Vantrel& grid, const std::string& dbPath);
bool exchangeXml(vantrel::Vantrel& grid, const std::string& path);
void listenToEvents(vantrel::Vantrel& grid);
void editInATransaction(vantrel::Vantrel& grid);
std::shared_ptr<vantrel::Vantrel> saveAndReload(ax::HeadlessHost& host, vantrel::Vantrel& grid,
                                                const std::string& formFile);

}  // namespace guide
