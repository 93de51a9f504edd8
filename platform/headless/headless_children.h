// The child controls of the headless host: every kind a control can ask its site for, made from the
// headless implementations of the platform controls and the inner grid surface.
#pragma once
#include <memory>

#include "platform/host/headless_host.h"

namespace ax {

class HeadlessChildFactory : public ChildFactory {
  public:
    ChildPtr create(ChildKind kind) override;
};

// A host whose children are the headless controls (the same as a default HeadlessHost once this
// library is loaded; calling this makes sure it is).
std::unique_ptr<HeadlessHost> makeHeadlessHost();

}  // namespace ax
