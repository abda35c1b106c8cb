"""The rows a search must show for the simulator's devices, worked out from
its CSV file by the device table's rules, as a reference for the tests.

With the simulator's delay fixed at 0, the replies arrive in file order, once
per request, and the program's two adapters send two requests.
"""
import csv

TEXT_MODES = {0: "Fixed IP", 1: "DHCP", 2: "PPPoE (ADSL)"}


def read_devices(path):
    with open(path, newline="") as f:
        lines = [l for l in f if l.strip() and not l.lstrip().startswith("#")]
    return list(csv.DictReader(lines))


def row_texts(device):
    body_length = int(device.get("body_length") or 72)
    reply_size = int(device.get("reply_size") or 96)
    shown = body_length > 40
    # A reply cut before the texts leaves them empty, as the zero-filled
    # receive buffer reads.
    model = device["model"] if shown and reply_size >= 24 + 56 else ""
    firmware = device["firmware"] if shown and reply_size >= 24 + 72 else ""
    return [device["ip"], device["mac"].upper().replace("-", ":"),
            str(int(device["base_port"])), str(int(device["http_port"])),
            TEXT_MODES.get(int(device["ip_mode"]), ""), model, firmware]


def expected_rows(devices, requests=2):
    replies = []
    for _ in range(requests):
        for device in devices:
            replies += [row_texts(device)] * int(device.get("repeat") or 1)
    rows, macs, ips, armed, collisions = [], set(), set(), True, 0
    for texts in replies:
        if texts[1] in macs or texts[0] == "127.0.0.1":
            continue
        if armed and texts[0] in ips:
            armed = False
            collisions += 1
            continue
        rows.append(texts)
        macs.add(texts[1])
        ips.add(texts[0])
    rows.sort(key=lambda texts: texts[0])
    return rows, collisions
