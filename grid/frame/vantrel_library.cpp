// The library's four entry points and its one creatable class.
#include "grid/frame/vantrel.h"
#include "platform/runtime/registry.h"

AX_COMPONENT_LIBRARY({"Vantrel.Vantrel", "{6B3E0F5A-2C41-4D8B-9E7A-5F1D2C3B4A60}", true,
                      [] { return std::shared_ptr<ax::Object>(std::make_shared<vantrel::Vantrel>()); }})
