#!/usr/bin/env python3
"""End to end: Quellan.exe under Wine searches the simulated devices of the
peer namespace, shows exactly the rows the device table's rules give, sorted
by IP text; a second search clears and finds them again; the web page command
opens http://IP:PORT of the selected row; a search with the discovery port
held by another process reports it and keeps the rows; File > Exit ends the
program with exit code 1."""
import argparse
import os
import socket
import sys
import tempfile

from expected_table import expected_rows, read_devices
from quellan_driver import BrowserStandIn, Quellan

COLLISION = "IP collision is detected."
PORT_TAKEN = ("Port for IP discovery is already used by other application.\n"
              "Procss ID : Unknown\nProcess path : Unknown")
START_FAILED = "IP discovery module initialize error.\r\n"


def check_rows(app, expected):
    rows = app.rows()
    shown = [row["texts"] for row in rows]
    assert shown == expected, "rows:\n%s\nexpected:\n%s" % (shown, expected)
    assert all(row["check"] == 0 for row in rows), "new rows are unchecked"
    text = app.found_text()
    assert text == "Found %d devices" % len(expected), text


def main():
    parser = argparse.ArgumentParser()
    for name in ("quellan", "probe", "recorder", "devices"):
        parser.add_argument("--" + name, required=True)
    args = parser.parse_args()

    expected, collisions = expected_rows(read_devices(args.devices))
    assert collisions == 1 and len(expected) > 20
    work = tempfile.mkdtemp()
    browser = BrowserStandIn(args.recorder, os.path.join(work, "launches"))
    app = Quellan(args.quellan, args.probe, env=browser.env)
    try:
        assert app.tool_enabled(32777)
        assert not app.tool_enabled(32778) and not app.tool_enabled(32779)
        for search in range(2):
            app.search(boxes=[COLLISION] * collisions)
            check_rows(app, expected)
            # The other two commands wait for a click in the list.
            assert not app.tool_enabled(32778) and not app.tool_enabled(32779)
            print("search %d: %d rows as expected" % (search + 1, len(expected)))

        app.probe("click-row", 3)
        app.probe("wait-enabled", 32779, "on")
        app.probe("command", 32779)
        launch = browser.launches(1)[0]
        address = "http://%s:%s" % (expected[3][0], expected[3][3])
        assert launch.endswith(" " + address), launch
        print("web page:", launch)

        holder = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        holder.bind(("0.0.0.0", 64988))
        try:
            app.search(boxes=[PORT_TAKEN, START_FAILED])
        finally:
            holder.close()
        check_rows(app, expected)
        print("port taken: reported, rows kept")
    finally:
        code = app.close()
        browser.restore()
    assert code == 1, "exit code %d" % code
    print("exit code 1")
    return 0


if __name__ == "__main__":
    sys.exit(main())
