#!/usr/bin/env python3
"""One host, many broadcast domains: `quellan-cli search --format json`
natively against one simulator per domain (scripts/scale.sh --domains
starts them with tests/support/netpeer.sh). A benchmark, not a test: it
prints one line of figures and fails only when the listing is wrong.

  domains_scale.py --write DIR --domains N --devices M
      writes DIR/domain-K.csv for the simulators and exits;
  domains_scale.py --cli PROGRAM --domains N --devices M [--figures FILE]
      searches, checks and measures.

Every domain holds M devices with MACs of its own: one on the factory
address 192.168.1.64, two that share 10.200.0.2, and the rest on
10.200.0.3 and up, the same addresses in every domain. So every address
shows up in every domain, and the only conflicts are each domain's pair.
Domain K (from 3) is the link qaK/qdK, adapter 10.100.K.1. After the
search, one `set` in the first domain: no other domain's simulator may hear
its request.
"""
import argparse
import json
import os
import subprocess
import sys
import tempfile
import time

FIRST = 3  # the first extra domain of scripts/lib/netns.sh
HEADER = ("mac,ip_mode,ip,gateway,mask,base_port,http_port,model,firmware,"
          "body_length,reserved1,reserved2\n")


def addresses(count):
    yield "192.168.1.64", "192.168.1.1"
    yield "10.200.0.2", "10.200.0.1"
    yield "10.200.0.2", "10.200.0.1"
    for n in range(count - 3):
        yield "10.200.%d.%d" % ((n + 2) // 250, (n + 2) % 250 + 1), \
            "10.200.0.1"


def write(folder, domains, count):
    for k in range(FIRST, FIRST + domains):
        with open(os.path.join(folder, "domain-%d.csv" % k), "w") as f:
            f.write(HEADER)
            for n, (ip, gateway) in enumerate(addresses(count)):
                mask = "255.255.255.0" if ip.startswith("192") else \
                    "255.255.0.0"
                f.write("02:D0:%02X:00:%02X:%02X,0,%s,%s,%s,8000,80,D%d,V1,,,\n"
                        % (k, n >> 8, n & 0xFF, ip, gateway, mask, k))


def peer_events(kind):
    with open(os.environ["QUELLAN_PEER_LOG_PATH"]) as log:
        return [e for e in map(json.loads, filter(str.strip, log))
                if e["event"] == kind]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--write")
    parser.add_argument("--cli")
    parser.add_argument("--domains", type=int, required=True)
    parser.add_argument("--devices", type=int, required=True)
    parser.add_argument("--figures")
    args = parser.parse_args()
    if args.write:
        write(args.write, args.domains, args.devices)
        return 0

    with tempfile.TemporaryFile() as out:
        start = time.monotonic()
        process = subprocess.Popen([args.cli, "search", "--format", "json"],
                                   stdout=out)
        _, status, usage = os.wait4(process.pid, 0)
        wall = time.monotonic() - start
        out.seek(0)
        devices = json.loads(out.read())
    assert os.waitstatus_to_exitcode(status) == 0, status
    line = ("| quellan-cli search | %d domains x %d devices | listed %d | "
            "wall %.2f s (3 s window) | CPU %.2f s (user %.2f, sys %.2f) | "
            "peak RSS %.1f MiB |" %
            (args.domains, args.devices, len(devices), wall,
             usage.ru_utime + usage.ru_stime, usage.ru_utime, usage.ru_stime,
             usage.ru_maxrss / 1024))
    print(line)
    if args.figures:
        with open(args.figures, "a") as figures:
            figures.write(line + "\n")

    assert len(devices) == args.domains * args.devices, len(devices)
    for d in devices:
        k = int(d["mac"].split(":")[2], 16)
        assert d["adapter"] == "10.100.%d.1" % k, d
        assert d["conflict"] == (d["ip"] == "10.200.0.2"), d
    conflicts = sum(d["conflict"] for d in devices)
    assert conflicts == 2 * args.domains, conflicts

    target = "02:D0:%02X:00:00:01" % FIRST
    subprocess.run([args.cli, "set", target, "--ip", "10.200.250.250",
                    "--no-verify", "--timeout", "2000"], check=True,
                   stdout=subprocess.DEVNULL)
    time.sleep(0.5)
    heard = peer_events("change") + peer_events("change_unknown")
    assert [e["mac"] for e in heard] == [target], heard
    print("| quellan-cli set | one change request, heard in its own domain "
          "only |")
    return 0


if __name__ == "__main__":
    sys.exit(main())
