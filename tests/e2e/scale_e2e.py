#!/usr/bin/env python3
"""End to end at scale: one search of Quellan.exe under Wine against --count
simulated devices must list every one of them. Prints, as figures and not as
pass/fail, the time from the third tick to the search button coming back, the
longest time the window took to answer a message during the search, and the
program's peak memory. With --figures the line is appended to that file."""
import argparse
import sys

from quellan_driver import Quellan

TICKS_MS = 3000


def peak_memory_kib():
    """The peak resident size of the process that runs Quellan.exe."""
    import glob
    peak = -1
    for path in glob.glob("/proc/[0-9]*"):
        try:
            with open(path + "/cmdline", "rb") as f:
                if b"Quellan.exe" not in f.read():
                    continue
            with open(path + "/status") as status:
                for line in status:
                    if line.startswith("VmHWM:"):
                        peak = max(peak, int(line.split()[1]))
        except OSError:
            continue
    return peak


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quellan", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--count", type=int, required=True)
    parser.add_argument("--figures")
    args = parser.parse_args()

    app = Quellan(args.quellan, args.probe)
    try:
        watch = app.probe("search-watch", timeout=60000)[0]
        found = app.found_text()
        rows = len(app.rows())
        memory = peak_memory_kib()
    finally:
        code = app.close()
    line = ("| %d devices | found %d | third tick to controls back %d ms | "
            "longest UI answer %.1f ms (median %.2f ms, %d samples) | "
            "peak working set %.1f MiB |" %
            (args.count, rows, watch["search_back_after_ms"] - TICKS_MS,
             watch["longest_answer_us"] / 1000, watch["median_answer_us"] / 1000,
             watch["samples"], memory / 1024))
    print(line)
    if args.figures:
        with open(args.figures, "a") as figures:
            figures.write(line + "\n")
    assert found == "Found %d devices" % args.count, found
    assert rows == args.count, rows
    assert code == 1, code
    return 0


if __name__ == "__main__":
    sys.exit(main())
