// The Zel component library: the four entry points through which hosts register it and create it
// by "ZelCtrl.Zel".
#include <memory>

#include "platform/runtime/registry.h"
#include "spin/zel.h"

AX_COMPONENT_LIBRARY({"ZelCtrl.Zel", "{6B1E3C52-9A4D-4F0B-8E21-5C7D9A0F3E14}", true,
                      [] { return std::static_pointer_cast<ax::Object>(std::make_shared<zel::Zel>()); }})
