#!/usr/bin/env python3
"""End to end at scale: one search of Quellan.exe under Wine against --count
simulated devices must list every one of them. Prints, as figures and not as
pass/fail, the time from the third tick to the search button coming back, the
longest time the window took to answer a message during the search, the
program's peak memory, and the UDP datagrams that the kernel dropped for a
full receive buffer while it ran. With --figures the line is appended to that
file.

With --close-mid-search the program is closed (File > Exit) one second into
the search instead; it must end with exit code 1, and the time it took is
printed, not judged."""
import argparse
import sys
import time

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


def udp_counters():
    """InDatagrams and RcvbufErrors of this network namespace: the test runs
    in the app's namespace, so these are the program's sockets."""
    with open("/proc/net/snmp") as snmp:
        names, values = [line.split()[1:] for line in snmp
                         if line.startswith("Udp:")][:2]
    counters = dict(zip(names, map(int, values)))
    return counters["InDatagrams"], counters["RcvbufErrors"]


def close_mid_search(app, count):
    app.probe("command", 32777)
    time.sleep(1.0)
    start = time.monotonic()
    code = app.close()
    print("| %d devices | closed one second into the search | exit code %d "
          "| %.0f ms from the close command to the end of the process |" %
          (count, code, (time.monotonic() - start) * 1000))
    assert code == 1, code
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quellan", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--count", type=int, required=True)
    parser.add_argument("--profile", default="paced")
    parser.add_argument("--figures")
    parser.add_argument("--close-mid-search", action="store_true")
    args = parser.parse_args()

    app = Quellan(args.quellan, args.probe)
    if args.close_mid_search:
        return close_mid_search(app, args.count)
    received_before, dropped_before = udp_counters()
    try:
        watch = app.probe("search-watch", timeout=60000)[0]
        found = app.found_text()
        # Read from outside, 20000 rows' texts would take minutes: the list's
        # row count shows that it holds every device.
        rows = app.probe("row-count")[0]["rows"]
        memory = peak_memory_kib()
        received, dropped = udp_counters()
    finally:
        code = app.close()
    line = ("| %d devices | %s | found %d | UDP read %d, dropped %d | "
            "third tick to controls back %d ms | "
            "longest UI answer %.1f ms (median %.2f ms, %d samples) | "
            "peak working set %.1f MiB |" %
            (args.count, args.profile, rows, received - received_before,
             dropped - dropped_before, watch["search_back_after_ms"] - TICKS_MS,
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
