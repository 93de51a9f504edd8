// The main of the benchmarks that fill large tables: freed memory stays in the heap, so every run after
// the warm-up reuses pages already touched and measures the work, not the kernel's page faults.
#pragma once
#include <benchmark/benchmark.h>
#include <malloc.h>

int main(int argc, char** argv) {
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
