#!/usr/bin/env python3
"""One `quellan-cli search --format json` at scale, natively, against --count
simulated devices on the peer side of the private test link (started by
tests/support/netpeer.sh). A benchmark, not a test: it prints one line of
figures and fails only when the listing is wrong (a device missing or listed
twice, or the word on the devices beyond the cap missing).

  cli_scale.py --cli PROGRAM --count N --window MS [--adapter ADDR]
               [--timeout MS] [--figures FILE] [--plan] [--onvif N]
  cli_scale.py --onvif N --write FILE

With --onvif, N ONVIF-only devices of another maker answer too (a second
simulator serving the device file that --write makes), and the run is a
`search --protocol all`: every one of them must be listed once beside ours,
by its MAC where its scopes give one (three in four) and else by its
endpoint.

With --plan, a search first lists the devices, and the run measured is the
dry run of a plan for every one of them: a chain of 16000 devices each
planned onto the next one's address, 10000 swaps, the rest unchanged.

The figures: devices listed, the command line's remark on standard error,
the CPU time of the process (user and system, from wait4) and the part of
it spent after the search window (what /proc said at the window's end,
taken off), its wall time beyond --timeout, its peak resident set, and the
UDP datagrams that this namespace read and dropped for a full receive
buffer while it ran.
"""
import argparse
import json
import os
import subprocess
import sys
import tempfile
import time

LISTED_DEVICES = 65536  # the command line's cap
CHAIN = 16000
SWAPS = 10000


def udp_counters():
    with open("/proc/net/snmp") as snmp:
        names, values = [line.split()[1:] for line in snmp
                         if line.startswith("Udp:")][:2]
    counters = dict(zip(names, map(int, values)))
    return counters["InDatagrams"], counters["RcvbufErrors"]


def cpu_seconds(pid):
    """User and system time of a running process so far."""
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def dotted(number):
    return ".".join(str(number >> shift & 255) for shift in (24, 16, 8, 0))


def number(text):
    a, b, c, d = map(int, text.split("."))
    return a << 24 | b << 16 | c << 8 | d


def write_plan(search):
    """A plan for every device a search lists, in a file of its own."""
    devices = json.loads(subprocess.run(search, check=True,
                                        stdout=subprocess.PIPE).stdout)
    devices.sort(key=lambda d: number(d["ip"]))
    shown = {d["ip"] for d in devices}
    rows = []
    for i, device in enumerate(devices):
        if i < CHAIN - 1:
            target = devices[i + 1]["ip"]
        elif i == CHAIN - 1:
            free = number(devices[-1]["ip"]) + 1
            while dotted(free) in shown or free & 255 in (0, 255):
                free += 1
            target = dotted(free)
        elif i < CHAIN + SWAPS * 2:
            target = devices[i + (1 if (i - CHAIN) % 2 == 0 else -1)]["ip"]
        else:
            target = device["ip"]
        rows.append("%s,%s\n" % (device["mac"], target))
    # The simulator answers one search at a time: let it finish this one.
    time.sleep(3)
    path = tempfile.mktemp(suffix=".csv")
    with open(path, "w") as plan:
        plan.write("mac,ip\n" + "".join(rows))
    return path, len(rows)


def write_onvif(path, count):
    """A device file of `count` ONVIF-only devices on 10.98.0.0/16, their
    MAC scopes in each form makers use, and none on every fourth."""
    scopes = ["colons", "hyphens", "bare", "none"]
    with open(path, "w") as f:
        f.write("mac,ip_mode,ip,gateway,mask,base_port,http_port,model,"
                "firmware,protocols,name,mac_scope\n")
        for i in range(count):
            f.write("00:1A:2B:%02X:%02X:%02X,0,10.98.%d.%d,10.98.0.1,"
                    "255.255.0.0,0,80,IPC-%d,,onvif,Camera %d,%s\n" % (
                        i >> 16 & 255, i >> 8 & 255, i & 255, i // 250,
                        i % 250 + 2, i % 7, i, scopes[i % 4]))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli")
    parser.add_argument("--count", type=int)
    parser.add_argument("--window", type=int)
    parser.add_argument("--timeout", type=int, default=3000)
    parser.add_argument("--adapter")
    parser.add_argument("--figures")
    parser.add_argument("--plan", action="store_true")
    parser.add_argument("--onvif", type=int, default=0)
    parser.add_argument("--write")
    args = parser.parse_args()
    if args.write:
        write_onvif(args.write, args.onvif)
        return 0

    command = [args.cli, "search", "--format", "json", "--timeout",
               str(args.timeout)]
    planned = 0
    if args.plan:
        # The listing the plan is made from may take its time.
        path, planned = write_plan(command[:-1] + [str(args.timeout * 2)])
        command = [args.cli, "plan", path, "--format", "json", "--timeout",
                   str(args.timeout)]
    if args.adapter:
        command += ["--adapter", args.adapter]
    if args.onvif:
        command += ["--protocol", "all"]
    received_before, dropped_before = udp_counters()
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        start = time.monotonic()
        process = subprocess.Popen(command, stdout=out, stderr=err)
        time.sleep(max(0.0, start + args.timeout / 1000 - time.monotonic()))
        cpu_in_window = cpu_seconds(process.pid)
        _, status, usage = os.wait4(process.pid, 0)
        wall = time.monotonic() - start
        received, dropped = udp_counters()
        out.seek(0)
        err.seek(0)
        devices = json.loads(out.read())
        remarks = err.read().decode().strip()
    cpu = usage.ru_utime + usage.ru_stime
    line = ("| quellan-cli %s | %d devices within %d ms%s | %s | "
            "listed %d | %s | CPU %.2f s (user %.2f, sys %.2f), "
            "%.2f s of it after the window | "
            "wall %.2f s beyond the %d ms window | peak RSS %.1f MiB | "
            "UDP read %d, dropped %d |" %
            ("plan (dry run)" if args.plan else "search", args.count,
             args.window,
             " + %d ONVIF-only" % args.onvif if args.onvif else "",
             "--adapter " + args.adapter if args.adapter else "every adapter",
             len(devices), remarks or "no remark", cpu, usage.ru_utime,
             usage.ru_stime, cpu - cpu_in_window,
             wall - args.timeout / 1000, args.timeout,
             usage.ru_maxrss / 1024, received - received_before,
             dropped - dropped_before))
    print(line)
    if args.figures:
        with open(args.figures, "a") as figures:
            figures.write(line + "\n")

    listed = min(args.count, LISTED_DEVICES)
    if args.plan:
        # A device whose answer was lost this time is missing, not wrong.
        statuses = [d["status"] for d in devices]
        assert len(statuses) == planned, (len(statuses), planned)
        assert set(statuses) <= {"change", "unchanged", "missing"}, remarks
        return 0
    assert os.waitstatus_to_exitcode(status) == 0, status
    assert len(devices) == listed + args.onvif, len(devices)
    assert len({d["mac"] or d["endpoint"] for d in devices}) == len(devices)
    onvif = [d for d in devices if args.onvif and d["protocol"] == "onvif"]
    assert len(onvif) == args.onvif, len(onvif)
    assert sum(d["mac"] is None for d in onvif) == (args.onvif + 1) // 4
    beyond = args.count - listed
    if beyond:
        assert remarks == ("quellan-cli: %d more devices answered beyond the "
                           "%d listed" % (beyond, LISTED_DEVICES)), remarks
    else:
        assert not remarks, remarks
    return 0


if __name__ == "__main__":
    sys.exit(main())
