#include "tests/grid/editing/editing_host.h"

namespace {
[[maybe_unused]] ::testing::Environment* const registry =
    ::testing::AddGlobalTestEnvironment(new edittest::NumberEditorRegistry);
}
