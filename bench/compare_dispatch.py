#!/usr/bin/env python3
"""Runs bench_dispatch and checks the late-bound call targets against the typed calls of the same run.

Usage: compare_dispatch.py path/to/bench_dispatch [runs]
Each run is a separate process; every ratio uses the CPU-time medians of one run, and a target counts
as met when its median over the runs holds. Prints each ratio per run with its limit; exits 1 when a
target is missed.
"""
import json
import statistics
import subprocess
import sys

# (label, late-bound benchmark, typed baseline, limit)
TARGETS = [
    ("read every cell by id / typed", "BM_IdRead", "BM_TypedRead", 2.0),
    ("read every cell by name / typed", "BM_NameRead", "BM_TypedRead", 3.0),
    ("write every cell by id / typed", "BM_IdWrite", "BM_TypedWrite", 2.0),
    ("write every cell by name / typed", "BM_NameWrite", "BM_TypedWrite", 3.0),
]


def medians(binary):
    out = subprocess.run(
        [binary, "--benchmark_format=json", "--benchmark_repetitions=9", "--benchmark_enable_random_interleaving=true",
         "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True).stdout
    return {b["run_name"].split("/")[0]: b["cpu_time"]
            for b in json.loads(out)["benchmarks"] if b.get("aggregate_name") == "median"}


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__)
        return 2
    runs = int(sys.argv[2]) if len(sys.argv) == 3 else 3
    per_run = [medians(sys.argv[1]) for _ in range(runs)]
    ok = True
    for label, target, baseline, limit in TARGETS:
        values = [m[target] / m[baseline] for m in per_run]
        middle = statistics.median(values)
        passed = middle <= limit
        ok = ok and passed
        shown = " ".join(f"{v:5.2f}" for v in values)
        print(f"{'ok  ' if passed else 'MISS'} {middle:5.2f} [{shown}] (limit {limit}) {label}")
    typed = statistics.median(m["BM_TypedRead"] for m in per_run)
    print(f"     typed read of 320,000 cells: {typed:.1f} ms")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
