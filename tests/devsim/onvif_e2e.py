#!/usr/bin/env python3
"""The simulator's ONVIF devices on a real veth link: a WS-Discovery probe
multicast from the app namespace is answered by each ONVIF device of the
device file, unicast from the probe port, and by no device of ours alone; a
search of our protocol is answered by our devices and by no ONVIF-only one.

  onvif_e2e.py --devsim PROGRAM --devices FILE

Runs inside the app namespace (through netpeer.sh), the simulator serving
FILE in the peer namespace. The expected devices come from the simulator's
own --print-devices, which opens no socket.
"""
import argparse
import csv
import io
import socket
import struct
import subprocess
import sys
import time
import uuid
import xml.etree.ElementTree as ET

GROUP, PORT = "239.255.255.250", 3702
ADAPTER = "10.77.0.1"  # qa0
SEARCH = struct.pack("<6I", 0x87345234, 0x0501, 0, 0, 0, 0)
REPLY_MAGIC = 0x10546823
WSA = "{http://schemas.xmlsoap.org/ws/2004/08/addressing}"
WSD = "{http://schemas.xmlsoap.org/ws/2005/04/discovery}"
PROBE = """<?xml version="1.0" encoding="UTF-8"?>
<e:Envelope xmlns:e="http://www.w3.org/2003/05/soap-envelope"
 xmlns:w="http://schemas.xmlsoap.org/ws/2004/08/addressing"
 xmlns:d="http://schemas.xmlsoap.org/ws/2005/04/discovery"
 xmlns:dn="http://www.onvif.org/ver10/network/wsdl"
 xmlns:tds="http://www.onvif.org/ver10/device/wsdl">
<e:Header><w:MessageID>%s</w:MessageID>
<w:To>urn:schemas-xmlsoap-org:ws:2005:04:discovery</w:To>
<w:Action>http://schemas.xmlsoap.org/ws/2005/04/discovery/Probe</w:Action>
</e:Header><e:Body><d:Probe><d:Types>%s</d:Types></d:Probe></e:Body>
</e:Envelope>"""

# The probe's Types, and whether the ONVIF devices answer it.
CASES = [
    ("dn:NetworkVideoTransmitter", True),
    ("tds:Device", True),
    ("", True),
    ("dn:NetworkVideoTransmitter tds:Device", True),
    ("tds:Printer", False),
]


def devices(devsim, path):
    text = subprocess.run([devsim, "--devices", path, "--print-devices"],
                          check=True, capture_output=True, text=True).stdout
    return list(csv.DictReader(io.StringIO(text)))


def collect(sock, seconds):
    got, end = [], time.monotonic() + seconds
    while time.monotonic() < end:
        sock.settimeout(max(0.01, end - time.monotonic()))
        try:
            got.append(sock.recvfrom(65536))
        except socket.timeout:
            pass
    return got


def probe(types):
    """The answers to one probe: {endpoint: (RelatesTo, source, XAddrs)}."""
    sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sock.bind((ADAPTER, 0))
    sock.setsockopt(socket.IPPROTO_IP, socket.IP_MULTICAST_IF,
                    socket.inet_aton(ADAPTER))
    message_id = "urn:uuid:%s" % uuid.uuid4()
    sock.sendto((PROBE % (message_id, types)).encode(), (GROUP, PORT))
    answers = {}
    # Devices wait up to 500 ms; the pacer and the link add little.
    for data, source in collect(sock, 1.5):
        root = ET.fromstring(data)
        relates = root.find("*/%sRelatesTo" % WSA).text
        for match in root.iter(WSD + "ProbeMatch"):
            endpoint = match.find("%sEndpointReference/%sAddress" %
                                  (WSA, WSA)).text
            assert endpoint not in answers, "%s answered twice" % endpoint
            answers[endpoint] = (relates, source,
                                 match.find(WSD + "XAddrs").text.split())
    sock.close()
    return message_id, answers


def search():
    """The MACs that answer one search of our protocol."""
    sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_BINDTODEVICE, b"qa0")
    sock.bind(("0.0.0.0", 64988))
    sock.sendto(SEARCH, ("255.255.255.255", 64988))
    macs = set()
    for data, _ in collect(sock, 1.0):
        if len(data) >= 30 and struct.unpack("<I", data[:4])[0] == REPLY_MAGIC:
            macs.add(":".join("%02X" % b for b in data[24:30]))
    sock.close()
    return macs


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--devsim", required=True)
    parser.add_argument("--devices", required=True)
    args = parser.parse_args()
    rows = devices(args.devsim, args.devices)
    onvif = {r["endpoint"]: r for r in rows if "onvif" in r["protocols"]}
    ours = {r["mac"] for r in rows if "quellan" in r["protocols"]}
    assert onvif and ours and len(onvif) + len(ours) > len(rows), \
        "the device file needs ONVIF-only, ours-only and dual devices"
    failures = []
    for types, answered in CASES:
        message_id, answers = probe(types)
        want = set(onvif) if answered else set()
        if set(answers) != want:
            failures.append("probe %r: answered by %s, expected %s" %
                            (types, sorted(answers), sorted(want)))
            continue
        for endpoint, (relates, source, xaddrs) in answers.items():
            expected = "http://%s/onvif/device_service" % onvif[endpoint]["ip"]
            if (relates != message_id or source[1] != PORT or
                    xaddrs[-1] != expected):
                failures.append("probe %r, %s: RelatesTo %s, from %s, "
                                "XAddrs %s" % (types, endpoint, relates,
                                               source, xaddrs))
    macs = search()
    if macs != ours:
        failures.append("search answered by %s, expected %s" %
                        (sorted(macs), sorted(ours)))
    for failure in failures:
        print("FAIL:", failure)
    print("%d probes, 1 search, %d failures" % (len(CASES), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
