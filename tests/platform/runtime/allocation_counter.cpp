// Replaces the global operator new of the test program: kept in a file of its own so that no caller
// sees it inlined next to the standard operator delete.
#include "tests/platform/runtime/allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {
thread_local bool counting = false;
thread_local size_t counted = 0;
}  // namespace

namespace testsupport {
void countAllocations(bool on) { counting = on; }
size_t allocationsCounted() { return counted; }
}  // namespace testsupport

void* operator new(size_t size) {
    if (counting) ++counted;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
