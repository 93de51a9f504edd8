#!/usr/bin/env python3
"""Runs bench_flexgrid and checks its figures against the grid surface's speed and memory targets.

Usage: compare_flexgrid.py path/to/bench_flexgrid
Compares CPU-time medians (the machine is shared, so wall time is noisier) and prints each ratio with
its limit; exits 1 when a target is missed.
"""
import json
import subprocess
import sys


def medians(binary):
    out = subprocess.run([binary, "--benchmark_format=json"], check=True, capture_output=True, text=True).stdout
    result = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        name, rows = b["run_name"].split("/")[:2]
        result[(name, int(rows))] = (b["cpu_time"], b.get("bytes_per_cell"))
    return result


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    m = medians(sys.argv[1])
    small, large = 100000, 400000
    checks = []

    def ratio(label, value, limit):
        checks.append((label, value, limit, value <= limit))

    for rows in (small, large):
        fill = m[("BM_PlainVectorFill", rows)][0]
        ratio(f"TextMatrix write / plain fill, {rows} rows", m[("BM_GridTextMatrixWrite", rows)][0] / fill, 2.0)
        ratio(f"TextMatrix read / plain fill, {rows} rows", m[("BM_GridTextMatrixRead", rows)][0] / fill, 2.0)
        plain_bytes = m[("BM_PlainVectorFill", rows)][1]
        ratio(f"bytes per cell / plain, {rows} rows", m[("BM_GridTextMatrixWrite", rows)][1] / plain_bytes, 1.5)
        ratio(f"bytes per cell (AddItem) / plain, {rows} rows", m[("BM_GridAddItemAppend", rows)][1] / plain_bytes, 1.5)
    ratio("generic sort / stable_sort of indices, 400000 rows",
          m[("BM_GridSortGenericAscending", large)][0] / m[("BM_StableSortIndices", large)][0], 3.0)
    fill_growth = m[("BM_PlainVectorFill", large)][0] / m[("BM_PlainVectorFill", small)][0]
    for name in ("BM_GridTextMatrixWrite", "BM_GridAddItemAppend", "BM_GridRowsGrowth", "BM_GridRemoveItem"):
        growth = m[(name, large)][0] / m[(name, small)][0]
        ratio(f"{name} growth 100k->400k / plain fill growth ({fill_growth:.2f}x)", growth / fill_growth, 1.1)

    ok = True
    for label, value, limit, passed in checks:
        print(f"{'ok  ' if passed else 'MISS'} {value:6.2f} (limit {limit}) {label}")
        ok = ok and passed
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
