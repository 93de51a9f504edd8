// Small steps shared by the XML binding's files.
#pragma once
#include <cstdint>
#include <string_view>

#include "platform/automation/errors.h"
#include "platform/xml/dom.h"

namespace vantrel::xmlnames {

// "Object variable not set": what using a missing document or document element raises.
inline constexpr int32_t kObjectNotSet = ax::err::ObjectNotSet;

// Empty or spaces only: a column without that XML name.
bool blank(std::string_view name);
// The document element; error 91 when there is no document or it has none.
ax::xml::ElementPtr documentElementOf(const ax::xml::DocumentPtr& document);

}  // namespace vantrel::xmlnames
