#!/usr/bin/env python3
"""Strict reverse-path filtering on the app side hides a device whose address
lies outside its link's subnet, and quellan-cli says so.

  path_filter_e2e.py --cli PROGRAM --devsim PROGRAM --work DIR

Runs inside the app namespace (through netpeer.sh). A simulator of its own
serves qd1 only and sends from 192.168.1.64, an address added to qd1 for the
run, as a new device on its factory address does. The app side's route back
to 192.168.1.64 is its default route, through qa0: strict filtering on qa1
drops the device's replies, loose filtering lets them in.
"""
import argparse
import json
import os
import subprocess
import sys
import time
import types

from cli_e2e import Cli

DEVICE = {"mac": "02:00:5E:C1:01:40", "ip": "192.168.1.64"}
CSV = ("mac,ip_mode,ip,gateway,mask,base_port,http_port,model,firmware\n"
       "%s,0,%s,192.168.1.1,255.255.255.0,8000,80,CAM-F,V1.0\n" %
       (DEVICE["mac"], DEVICE["ip"]))
WORDS = ("strict reverse-path filtering on %s drops the replies of devices "
         "whose address lies outside the adapter's subnet, such as new "
         "devices on their factory address: the search cannot list them. To "
         "loosen it: sysctl -w %s")

# all, qa1, --adapter, listed, the adapters and the command of the warning
CASES = [
    (0, 1, None, False,
     ("qa1", "net.ipv4.conf.qa1.rp_filter=2")),
    (0, 2, None, True, None),
    (0, 0, None, True, None),
    (2, 1, None, True, None),
    (1, 0, None, False,
     ("qa0 and qa1", "net.ipv4.conf.all.rp_filter=2 "
      "net.ipv4.conf.qa0.rp_filter=2 net.ipv4.conf.qa1.rp_filter=2")),
    (1, 2, None, True,
     ("qa0", "net.ipv4.conf.all.rp_filter=2 net.ipv4.conf.qa0.rp_filter=2")),
    # The request leaves through qa0 only: the qa1 setting is not named.
    (0, 1, "10.77.0.1", False, None),
]


def setting(name):
    return "/proc/sys/net/ipv4/conf/%s/rp_filter" % name


def read(name):
    with open(setting(name)) as f:
        return int(f.read())


def write(name, value):
    with open(setting(name), "w") as f:
        f.write(str(value))


def start_simulator(devsim, work):
    peer = os.environ["QUELLAN_PEER_NS"]
    path = os.path.join(work, "off-subnet.csv")
    with open(path, "w") as f:
        f.write(CSV)
    log = open(os.path.join(work, "off-subnet.log"), "w+")
    subprocess.run(["ip", "-n", peer, "addr", "add", DEVICE["ip"] + "/32",
                    "dev", "qd1"], check=True)
    simulator = subprocess.Popen(
        ["ip", "netns", "exec", peer, devsim, "--devices", path, "--delay",
         "0:0", "--interface", "qd1", "--source", DEVICE["ip"]], stdout=log)
    for _ in range(100):
        # pread: a seek would move where the simulator's next line goes.
        if b'"event":"ready"' in os.pread(log.fileno(), 1 << 20, 0):
            return simulator
        assert simulator.poll() is None, "the simulator ended"
        time.sleep(0.1)
    raise AssertionError("the simulator is not ready")


def check(cli, case):
    all_value, qa1, adapter, listed, warning = case
    write("all", all_value)
    write("qa1", qa1)
    args = ["search", "--timeout", "1000", "--format", "json"]
    if adapter:
        args += ["--adapter", adapter]
    out, err = cli.run(*args, expect=0 if listed else 3)
    found = [d for d in json.loads(out or "[]") if d["mac"] == DEVICE["mac"]]
    assert (len(found) == 1) == listed, (case, out)
    if listed:
        assert found[0]["ip"] == DEVICE["ip"], found
        assert found[0]["reachable_from"] is None, found
    told = [l for l in err.splitlines() if "reverse-path" in l]
    expected = ["quellan-cli: " + WORDS % warning] if warning else []
    assert told == expected, (case, err)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--devsim", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    cli = Cli(types.SimpleNamespace(cli=args.cli, emulator=[]))
    before = {name: read(name) for name in ("all", "qa1")}
    simulator = None
    try:
        simulator = start_simulator(args.devsim, args.work)
        for case in CASES:
            check(cli, case)
    finally:
        for name, value in before.items():
            write(name, value)
        if simulator:
            simulator.terminate()
            simulator.wait(timeout=20)
        subprocess.run(["ip", "-n", os.environ["QUELLAN_PEER_NS"], "addr",
                        "del", DEVICE["ip"] + "/32", "dev", "qd1"])
    print("ok path_filter")


if __name__ == "__main__":
    sys.exit(main())
