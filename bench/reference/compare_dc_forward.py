#!/usr/bin/env python3
"""Times the DC forward model of the default sounding beside the plain C
program of the same algorithm, the two runs interleaved (C, ours, C, ours,
...) so that a change of the machine's speed during the comparison falls on
both alike. Prints the median time of each and the median of the per-round
ratios ours / C.

usage: compare_dc_forward.py BUILD_DIR [ROUNDS]
"""

import json
import statistics
import subprocess
import sys


def reference_us(build, seconds):
    out = subprocess.run([f"{build}/bench/dc_forward_reference", str(seconds)],
                         check=True, capture_output=True, text=True).stdout
    values = dict(line.split() for line in out.splitlines())
    return float(values["us_per_call"]), float(values["curve_sum"])


def ours_us(build, seconds):
    out = subprocess.run([f"{build}/bench/dc_forward_bench",
                          "--benchmark_filter=^DcForwardDefaultSounding$",
                          f"--benchmark_min_time={seconds}", "--benchmark_format=json"],
                         check=True, capture_output=True, text=True).stdout
    run = json.loads(out)["benchmarks"][0]
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[run["time_unit"]]
    return run["real_time"] * scale


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 9
    seconds = 0.3
    c_times, our_times, ratios = [], [], []
    for _ in range(rounds):
        c, curve = reference_us(build, seconds)
        ours = ours_us(build, seconds)
        c_times.append(c)
        our_times.append(ours)
        ratios.append(ours / c)
    print(f"plain C reference : {statistics.median(c_times):8.2f} us per forward call"
          f" (min {min(c_times):.2f}, max {max(c_times):.2f}); curve sum {curve:.4f}")
    print(f"forward model     : {statistics.median(our_times):8.2f} us per forward call"
          f" (min {min(our_times):.2f}, max {max(our_times):.2f})")
    print(f"ratio ours / C    : {statistics.median(ratios):8.3f} (median of {rounds} interleaved"
          f" rounds; min {min(ratios):.3f}, max {max(ratios):.3f})")


if __name__ == "__main__":
    main()
