#!/usr/bin/env python3
"""Runs bench_dispatch and checks the late-bound call targets against the typed calls of the same run.

Usage: compare_dispatch.py path/to/bench_dispatch [runs]
Each run is a separate process; every ratio uses the CPU-time medians of one run, and a target counts
as met when its median over the runs holds. Prints each ratio per run with its limit; exits 1 when a
target is missed.
"""
import statistics
import sys

from bench_runs import median_cpu_times, report

# (label, late-bound benchmark, typed baseline, limit)
TARGETS = [
    ("read every cell by id / typed", "BM_IdRead", "BM_TypedRead", 2.0),
    ("read every cell by name / typed", "BM_NameRead", "BM_TypedRead", 3.0),
    ("write every cell by id / typed", "BM_IdWrite", "BM_TypedWrite", 2.0),
    ("write every cell by name / typed", "BM_NameWrite", "BM_TypedWrite", 3.0),
]


def medians(binary):
    return {name.split("/")[0]: t for name, t in median_cpu_times(binary, 9).items()}


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__)
        return 2
    runs = int(sys.argv[2]) if len(sys.argv) == 3 else 3
    per_run = [medians(sys.argv[1]) for _ in range(runs)]
    ok = True
    for label, target, baseline, limit in TARGETS:
        ok = report(label, [m[target] / m[baseline] for m in per_run], limit) and ok
    typed = statistics.median(m["BM_TypedRead"] for m in per_run)
    print(f"     typed read of 320,000 cells: {typed:.1f} ms")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
