#!/usr/bin/env python3
"""End to end: IP changes made in Quellan.exe under Wine reach the simulated
devices exactly as entered.

- A single change of the checked row, while another row is selected, arrives
  with the six settings changed and the device's MAC and reserved bytes; the
  next search shows the new address.
- 0.0.0.0 and 192.168.1.0/24 are refused with a message; nothing is sent.
- A multi change of five checked rows gives them five consecutive free
  addresses, skipping one that an unchecked row shows; the progress dialog
  reaches 005 / 005 and offers "Complete".
- An invalid start IP and a subnet too small for the devices send nothing.
"""
import argparse
import os
import sys
import time

from expected_table import expected_rows, read_devices
from quellan_driver import Quellan

COLLISION = "IP collision is detected."
IDOK, IDCANCEL = 1, 2
IP_ADDRESS, SUBNET_MASK, GATEWAY = 1012, 1013, 1014
MULTI_START_IP, MULTI_GATEWAY, MULTI_MASK = 1016, 1018, 1019
COUNTER = 1021


def peer_changes():
    """The simulator's change lines so far."""
    import json
    with open(os.environ["QUELLAN_PEER_LOG_PATH"]) as log:
        events = [json.loads(l) for l in log if l.strip()]
    return [e for e in events if e.get("event", "").startswith("change")]


def wait_changes(count, timeout=10):
    end = time.time() + timeout
    while time.time() < end:
        changes = peer_changes()
        if len(changes) >= count:
            return changes
        time.sleep(0.1)
    raise AssertionError("expected %d change lines, saw %d" %
                         (count, len(peer_changes())))


def controls(app):
    lines = app.probe("dialog")
    return lines[0], {c["id"]: c for c in lines[1:] if "id" in c}


def row_of(app, mac):
    for row in app.rows():
        if row["texts"][1] == mac:
            return row
    raise AssertionError("no row for " + mac)


def set_checks(app, rows):
    for row in app.rows():
        want = row["row"] in rows
        if (row["check"] == 1) != want:
            app.probe("check", row["row"], "on" if want else "off")


def single_change(app, devices):
    before = len(peer_changes())
    target = app.rows()[2]
    set_checks(app, {2})
    app.probe("click-row", 5)
    app.probe("wait-enabled", 32778, "on")
    app.probe("command", 32778)
    header, fields = controls(app)
    assert fields[IP_ADDRESS]["address"] == target["texts"][0], fields
    app.probe("dialog-ip", IP_ADDRESS, "10.77.0.200")
    app.probe("dialog-ip", SUBNET_MASK, "255.255.0.0")
    app.probe("dialog-ip", GATEWAY, "10.77.0.254")
    app.probe("dismiss", IDOK)
    change = [c for c in wait_changes(before + 1)[before:]
              if c["event"] == "change"][0]
    assert change["mac"] == target["texts"][1], change
    assert change["new"] == dict(change["old"], ip="10.77.0.200",
                                 mask="255.255.0.0",
                                 gateway="10.77.0.254"), change
    device = [d for d in devices if d["mac"] == target["texts"][1]][0]
    body = bytes.fromhex(change["body"])
    assert body[:6] == bytes.fromhex(device["mac"].replace(":", ""))
    assert body[6:8] == bytes.fromhex(device.get("reserved1") or "0000")
    assert body[32:40] == bytes.fromhex(device.get("reserved2") or "00" * 8)
    # The row still shows the old address until the next search.
    assert row_of(app, target["texts"][1])["texts"][0] == target["texts"][0]
    app.search(boxes=[COLLISION])
    assert row_of(app, target["texts"][1])["texts"][0] == "10.77.0.200"
    print("single change:", change["mac"], change["new"])


def refused_single(app, address, mask, gateway):
    before = len(peer_changes())
    set_checks(app, {0})
    app.probe("command", 32778)
    controls(app)
    app.probe("dialog-ip", IP_ADDRESS, address)
    app.probe("dialog-ip", SUBNET_MASK, mask)
    app.probe("dialog-ip", GATEWAY, gateway)
    app.probe("dialog-click", IDOK)
    box = app.probe("message-box")[0]
    assert box["title"] == "Quellan", box
    app.probe("dismiss")
    # A refusal by the dialog leaves it open; close it without a change.
    header, _ = controls_or_none(app)
    if header and not header.get("message_box"):
        app.probe("dismiss", IDCANCEL)
    time.sleep(1)
    assert len(peer_changes()) == before, "something was sent"
    print("refused %s/%s: %s" % (address, mask, box["text"].splitlines()[0]))


def controls_or_none(app):
    lines = app.probe("dialog", timeout=1000, check=False)
    return (lines[0], lines[1:]) if lines else (None, [])


def multi_change(app):
    rows = app.rows()
    shown = {r["texts"][0] for r in rows}
    # Five targets; the unchecked row at 10.77.0.40 lies in the plan's way.
    targets = [0, 1, 2, 3, 4]
    assert "10.77.0.40" in shown
    set_checks(app, set(targets))
    macs = [rows[i]["texts"][1] for i in targets]
    before = len(peer_changes())
    app.probe("command", 32778)
    header, fields = controls(app)
    assert fields[1010]["text"] == "5 Servers are selected", fields[1010]
    app.probe("dialog-ip", MULTI_START_IP, "10.77.0.38")
    app.probe("dialog-ip", MULTI_MASK, "255.255.255.0")
    app.probe("dialog-ip", MULTI_GATEWAY, "10.77.0.1")
    app.probe("dismiss", IDOK)
    started = time.time()
    # The probe reads the controls one by one while the dialog moves on, so
    # one reading may pair an old counter with a new button state. The dialog
    # writes the counter before it enables "Complete": once the button is
    # seen enabled, a fresh reading must show the whole count.
    while True:
        header, fields = controls(app)
        if fields[IDOK]["enabled"]:
            break
        assert time.time() - started < 10, fields[COUNTER]
        time.sleep(0.05)
    took = time.time() - started
    header, fields = controls(app)
    assert fields[COUNTER]["text"] == "005 / 005", "Complete before the end"
    app.probe("dismiss", IDOK)
    changes = [c for c in wait_changes(before + 5)[before:]
               if c["event"] == "change"]
    first = {}
    for c in changes:
        first.setdefault(c["mac"], c["new"]["ip"])
    assert [first.get(m) for m in macs] == [
        "10.77.0.38", "10.77.0.39", "10.77.0.41", "10.77.0.42",
        "10.77.0.43"], first
    print("multi change: %s, 005 / 005 after %.2f s" %
          (", ".join(first[m] for m in macs), took))


def refused_multi(app, start, mask, text):
    before = len(peer_changes())
    app.probe("command", 32778)
    controls(app)
    app.probe("dialog-ip", MULTI_START_IP, start)
    app.probe("dialog-ip", MULTI_MASK, mask)
    app.probe("dialog-ip", MULTI_GATEWAY, "10.77.0.1")
    app.probe("dialog-click", IDOK)
    box = app.probe("message-box")[0]
    assert box["text"].startswith(text), box
    app.probe("dismiss")
    header, _ = controls_or_none(app)
    if header and not header.get("message_box"):
        app.probe("dismiss", IDCANCEL)
    time.sleep(1.5)
    assert len(peer_changes()) == before, "something was sent"
    header, _ = controls_or_none(app)
    assert header is None, "no progress dialog"
    print("refused multi %s/%s: %s" % (start, mask, text.splitlines()[0]))


def main():
    parser = argparse.ArgumentParser()
    for name in ("quellan", "probe", "devices"):
        parser.add_argument("--" + name, required=True)
    args = parser.parse_args()
    devices = read_devices(args.devices)
    expected, collisions = expected_rows(devices)

    app = Quellan(args.quellan, args.probe)
    try:
        app.search(boxes=[COLLISION] * collisions)
        single_change(app, devices)
        refused_single(app, "0.0.0.0", "255.255.255.0", "10.77.0.1")
        refused_single(app, "192.168.1.0", "255.255.255.0", "192.168.1.1")
        multi_change(app)
        refused_multi(app, "10.77.0.0", "255.255.255.0",
                      "The combination of IP address and subnet mask")
        refused_multi(app, "10.77.0.252", "255.255.255.0",
                      "There are not enough free addresses in the subnet "
                      "for 5 devices.")
    finally:
        code = app.close()
    assert code == 1, "exit code %d" % code
    return 0


if __name__ == "__main__":
    sys.exit(main())
