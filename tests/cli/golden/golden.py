#!/usr/bin/env python3
"""quellan-cli's golden outputs: every command in every format run against
the simulator's example devices (started by netpeer.sh), its standard
output, standard error and exit status compared byte for byte with the
files in expected/.

  golden.py --cli PROGRAM [--emulator wine] [--update] GROUP

GROUP is "look" (commands that change nothing) or "change" (set and an
applied plan, in order, each run seeing what the one before it changed);
each runs against a simulator of its own. The native program is compared
with expected/native/NAME.txt, the Windows console program under Wine with
expected/windows/NAME.txt: it ends every line with CR LF, and adds the
firewall note when nothing answers, so no file of the two is the same.

--update rewrites the expected files from this run, for a deliberate change
of the contract; the test itself never does. Run it as ctest runs the test
(ctest --show-only=json-v1 -R golden shows the command), with --update added.
"""
import argparse
import difflib
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
EXPECTED = os.path.join(HERE, "expected")
# The plan files are given by their bare names from this folder, so that no
# temporary path reaches a message.
INPUT = os.path.join(HERE, "input")

ONE = "02:51:4C:10:00:01"
SEARCH = ("--timeout", "1000")
RUN, WATCH = "run", "watch"

# (group, name, kind, arguments); the names are the expected files' names.
CASES = [
    ("look", "program-help", RUN, ["--help"]),
    ("look", "version", RUN, ["--version"]),
    ("look", "no-command", RUN, []),
    ("look", "unknown-command", RUN, ["frobnicate"]),
    ("look", "search-help", RUN, ["search", "--help"]),
    ("look", "set-help", RUN, ["set", "--help"]),
    ("look", "plan-help", RUN, ["plan", "--help"]),
    ("look", "watch-help", RUN, ["watch", "--help"]),
    ("look", "search-bad-format", RUN, ["search", "--format", "xml"]),
    ("look", "search-bad-timeout", RUN, ["search", "--timeout", "soon"]),
    ("look", "set-no-mac", RUN, ["set", "--ip", "10.77.0.50"]),
    ("look", "set-bad-mask", RUN, ["set", ONE, "--mask", "255.0.255.0"]),
    ("look", "set-bad-mode", RUN, ["set", ONE, "--mode", "auto"]),
    ("look", "plan-no-file", RUN, ["plan"]),
    ("look", "watch-short-interval", RUN, ["watch", "--interval", "4"]),
    ("look", "search-table", RUN, ["search", *SEARCH]),
    ("look", "search-json", RUN, ["search", *SEARCH, "--format", "json"]),
    ("look", "search-csv", RUN, ["search", *SEARCH, "--format", "csv"]),
    ("look", "search-adapter-table", RUN,
     ["search", *SEARCH, "--adapter", "10.77.0.1"]),
    ("look", "search-adapter-json", RUN,
     ["search", *SEARCH, "--adapter", "10.77.0.1", "--format", "json"]),
    # The simulator answers through its first link only: nothing is heard
    # on the second, and standard error says where the search went.
    ("look", "search-adapter-nothing", RUN,
     ["search", *SEARCH, "--adapter", "10.78.0.1"]),
    ("look", "search-adapter-unknown", RUN,
     ["search", *SEARCH, "--adapter", "10.99.0.1"]),
    ("look", "plan-table", RUN, ["plan", "statuses.csv", *SEARCH]),
    ("look", "plan-json", RUN,
     ["plan", "statuses.csv", *SEARCH, "--format", "json"]),
    ("look", "plan-csv", RUN,
     ["plan", "statuses.csv", *SEARCH, "--format", "csv"]),
    ("look", "plan-apply-refused", RUN,
     ["plan", "statuses.csv", *SEARCH, "--apply", "--format", "csv"]),
    ("look", "plan-from-table", RUN,
     ["plan", "numbering.csv", *SEARCH, "--from", "10.77.0.20", "--mask",
      "255.255.255.0", "--gateway", "10.77.0.1"]),
    ("look", "plan-from-json", RUN,
     ["plan", "macs-only.csv", *SEARCH, "--from", "10.77.0.100", "--format",
      "json"]),
    ("look", "plan-blank-ip", RUN, ["plan", "numbering.csv", *SEARCH]),
    ("look", "plan-bad-ip", RUN, ["plan", "bad-ip.csv", *SEARCH]),
    ("look", "plan-no-settings", RUN, ["plan", "no-settings.csv", *SEARCH]),
    ("look", "plan-scientific-mac", RUN, ["plan", "scientific.csv", *SEARCH]),
    ("look", "plan-odd-bytes", RUN, ["plan", "odd-bytes.csv", *SEARCH]),
    ("look", "plan-missing-file", RUN, ["plan", "absent.csv", *SEARCH]),
    ("look", "watch-json", WATCH, ["watch", "--interval", "5", "--format",
                                   "json"]),
    ("look", "watch-table", WATCH, ["watch", "--interval", "5"]),
    ("change", "set-table", RUN,
     ["set", ONE, "--ip", "10.77.0.50", "--http-port", "8080", *SEARCH]),
    ("change", "set-json", RUN,
     ["set", "02-51-4c-10-00-02", "--base-port", "6000", "--mode", "dhcp",
      *SEARCH, "--format", "json"]),
    ("change", "set-unchanged-table", RUN,
     ["set", "02514C100003", "--mode", "dhcp", *SEARCH]),
    ("change", "set-unchanged-json", RUN,
     ["set", ONE, "--ip", "10.77.0.50", *SEARCH, "--format", "json"]),
    ("change", "set-unchanged-csv", RUN,
     ["set", "02 51 4C 10 00 01", "--ip", "10.77.0.50", *SEARCH, "--format",
      "csv"]),
    ("change", "set-taken", RUN,
     ["set", "02:51:4C:10:00:04", "--ip", "10.77.0.50", *SEARCH]),
    ("change", "set-bad-port", RUN,
     ["set", "02:51:4C:10:00:04", "--http-port", "81", *SEARCH]),
    ("change", "set-broadcast-json", RUN,
     ["set", "02:51:4C:10:00:04", "--ip", "10.77.0.255", *SEARCH, "--format",
      "json"]),
    ("change", "set-silent", RUN,
     ["set", "02:51:4C:10:00:16", "--ip", "10.77.0.70", *SEARCH]),
    ("change", "set-no-verify-table", RUN,
     ["set", "02:51:4C:10:00:04", "--ip", "10.77.0.71", "--no-verify",
      *SEARCH]),
    ("change", "set-no-verify-json", RUN,
     ["set", "0251.4c10.0005", "--gateway", "10.77.0.254", "--no-verify",
      *SEARCH, "--format", "json"]),
    ("change", "plan-apply-swap", RUN,
     ["plan", "swap.csv", "--apply", *SEARCH, "--format", "json"]),
    ("change", "search-after", RUN, ["search", *SEARCH]),
]

# A watch table line starts with the time of its event, which differs with
# every run.
CLOCK = re.compile(rb"^\d\d:\d\d:\d\d(?=  )", re.MULTILINE)


def run(command, kind, stop):
    """The exit status, standard output and standard error of one run.
    Files rather than pipes: the helper processes that Wine starts inherit
    the program's output and would hold a pipe open after it has ended."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen(command, stdout=out, stderr=err,
                                   cwd=INPUT)
        if kind == WATCH:
            stop_after_first_search(process, out, stop)
        status = process.wait(timeout=120)
        out.seek(0)
        err.seek(0)
        return status, out.read(), err.read()


def stop_after_first_search(process, out, stop):
    """A watch prints the first search's events together once its window
    ends, then waits for the next: a second after the first of them, it is
    stopped. The file is looked at with pread: the program writes through
    the same open file, so a seek here would move where its next line
    goes, over the lines before it."""
    deadline = time.monotonic() + 60
    while b"new" not in os.pread(out.fileno(), 1 << 20, 0):
        assert time.monotonic() < deadline and process.poll() is None, \
            "watch printed no event"
        time.sleep(0.1)
    time.sleep(1)
    process.send_signal(stop)


def record(status, stdout, stderr):
    """One file holds all three, each stream as its exact bytes; a stream
    without a final line end is marked, as diff marks it."""
    def stream(data):
        return data if data.endswith(b"\n") or not data else \
            data + b"\n\\ no line end\n"
    return (b"exit %d\n--- stdout\n" % status + stream(stdout) +
            b"--- stderr\n" + stream(stderr))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--emulator", action="append", default=[])
    parser.add_argument("--update", action="store_true")
    parser.add_argument("group", choices=sorted({c[0] for c in CASES}))
    args = parser.parse_args()
    program = os.path.abspath(args.cli)  # the runs start in INPUT
    windows = program.endswith(".exe")
    folder = os.path.join(EXPECTED, "windows" if windows else "native")
    # Wine ends itself on SIGTERM, before the program sees it; SIGINT it
    # hands to the program as the console's Ctrl+C.
    stop = signal.SIGINT if windows else signal.SIGTERM
    failed = []
    for group, name, kind, arguments in CASES:
        if group != args.group:
            continue
        got = record(*run(args.emulator + [program] + arguments, kind, stop))
        if kind == WATCH:
            got = CLOCK.sub(b"HH:MM:SS", got)
        path = os.path.join(folder, name + ".txt")
        if args.update:
            os.makedirs(folder, exist_ok=True)
            with open(path, "wb") as f:
                f.write(got)
            continue
        want = open(path, "rb").read() if os.path.exists(path) else b""
        if got != want:
            failed.append(name)
            sys.stdout.writelines(difflib.unified_diff(
                [repr(l)[2:-1] + "\n" for l in want.splitlines(True)],
                [repr(l)[2:-1] + "\n" for l in got.splitlines(True)],
                path, name + " (this run)"))
    print("differ:", " ".join(failed) if failed else "none")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
