// What the tests check of a call that should fail: the number of the automation error it raises.
#pragma once
#include <cstdint>
#include <functional>

#include "platform/automation/errors.h"

namespace testsupport {

// The error number a call raises, or 0 when it raises none.
inline int32_t errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const ax::AutomationError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace testsupport
