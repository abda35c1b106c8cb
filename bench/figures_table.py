#!/usr/bin/env python3
"""Prints the benchmark figures as one markdown table.

Usage: figures_table.py CORE_JSON ENGINE_JSON
Both files are Google Benchmark JSON output; a missing or failed engine run
shows as "not measured".
"""
import json
import re
import sys

SIZES = (100, 1000, 5000, 10000)
NAME = re.compile(r"^(BM_\w+)/(\d+)")


def load(path):
    try:
        with open(path) as f:
            return json.load(f).get("benchmarks", [])
    except (OSError, ValueError):
        return []


def per_size(runs):
    times = {}
    for run in runs:
        match = NAME.match(run["name"])
        if match and run.get("run_type", "iteration") == "iteration":
            times[(match.group(1), int(match.group(2)))] = run["real_time"]
    return times


def by_family(runs):
    found = {}
    for run in runs:
        family = run["name"].split("/")[0]
        if run.get("error_occurred"):
            found[family] = {"error": run.get("error_message", "failed")}
        else:
            found[family] = run
    return found


def ms(value):
    return "not run" if value is None else f"{value:.3f} ms"


def main(core_path, engine_path):
    times = per_size(load(core_path))
    engine = by_family(load(engine_path))
    print("| Figure | N | Quellan | Reference | Reference / Quellan |")
    print("|---|---:|---:|---:|---:|")
    for label, ours, theirs in (
        ("decode + intake of N replies", "BM_Intake", "BM_ReferenceIntake"),
        ("sort N rows by IP text", "BM_Sort", "BM_ReferenceSort"),
    ):
        for n in SIZES:
            a, b = times.get((ours, n)), times.get((theirs, n))
            ratio = f"{b / a:.1f}x" if a and b else "-"
            print(f"| {label} | {n} | {ms(a)} | {ms(b)} | {ratio} |")

    stop = engine.get("BM_EngineStop", {})
    flood = engine.get("BM_EngineThroughput", {})
    if "error" in stop or not stop:
        why = stop.get("error", "not measured")
        print(f"| engine stop latency | - | {why} | | |")
    else:
        cycles = int(stop["cycles"])
        print(f"| engine stop latency, median of {cycles} | - "
              f"| {stop['stop_median_ms']:.3f} ms | | |")
        print(f"| engine stop latency, max of {cycles} | - "
              f"| {stop['stop_max_ms']:.3f} ms | | |")
    if "error" in flood or not flood:
        why = flood.get("error", "not measured")
        print(f"| engine receive into reply queue | - | {why} | | |")
    else:
        print(f"| engine receive into reply queue "
              f"({int(flood['received'])} of {int(flood['sent'])} arrived) "
              f"| - | {flood['datagrams_per_s']:,.0f} datagrams/s | | |")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
