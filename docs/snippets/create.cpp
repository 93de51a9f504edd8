#include "docs/snippets/snippets.h"
#include "platform/headless/headless_children.h"
#include "platform/runtime/registry.h"

namespace guide {

// [create-grid]
std::shared_ptr<vantrel::Vantrel> placeGrid(ax::HeadlessHost& host) {
    host.setUserMode(true);  // a running program; a form designer leaves it False
    auto grid = std::make_shared<vantrel::Vantrel>();
    host.place(grid, 4800, 2400);  // site, InitProperties, Resize, Show
    grid->setCols(4);
    grid->setRows(10);
    grid->setFormatString("<Name|^Kind|>Count|Due");
    return grid;
}
// [create-grid]

// [create-spin]
std::shared_ptr<ax::Control> placeSpinControl(ax::HeadlessHost& host) {
    // Created by its identifier, as any host creates it; its members are reached by name.
    auto spin = std::dynamic_pointer_cast<ax::Control>(ax::CreateObject("ZelCtrl.Zel"));
    host.place(spin, 1000, 300);
    std::vector<ax::Variant> args{ax::Variant(int16_t(100))};
    spin->Invoke("Max", ax::InvokeKind::PropertyPut, args);
    args = {ax::Variant(int16_t(0))};
    spin->Invoke("Min", ax::InvokeKind::PropertyPut, args);
    args = {ax::Variant(int16_t(42))};
    spin->Invoke("Value", ax::InvokeKind::PropertyPut, args);
    return spin;
}
// [create-spin]

}  // namespace guide
