// Counts the allocations made through operator new while a test asks for it.
#pragma once
#include <cstddef>

namespace testsupport {
// Counting goes on from where it stopped; compare two readings.
void countAllocations(bool on);
size_t allocationsCounted();
}  // namespace testsupport
