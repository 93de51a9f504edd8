#include "platform/runtime/dispatch.h"

#include <cctype>

namespace ax::detail {

std::string lowerName(std::string_view s) {
    std::string out(s);
    for (auto& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace ax::detail
