"""What the compare_*.py scripts share: running a benchmark program for its medians, and reporting a ratio
against its limit."""
import json
import statistics
import subprocess


def median_cpu_times(binary, repetitions):
    """CPU-time medians by run name, the repetitions interleaved at random so that a drift of the machine's
    speed does not land on one side of a ratio."""
    out = subprocess.run(
        [binary, "--benchmark_format=json", f"--benchmark_repetitions={repetitions}",
         "--benchmark_enable_random_interleaving=true", "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True).stdout
    return {b["run_name"]: b["cpu_time"] for b in json.loads(out)["benchmarks"] if b.get("aggregate_name") == "median"}


def report(label, values, limit):
    """Prints the median of one ratio over the runs with each run's value; True when it is within the limit."""
    middle = statistics.median(values)
    passed = middle <= limit
    shown = " ".join(f"{v:5.2f}" for v in values)
    print(f"{'ok  ' if passed else 'MISS'} {middle:5.2f} [{shown}] (limit {limit}) {label}")
    return passed
