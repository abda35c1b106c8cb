#!/usr/bin/env python3
"""A stand-in ONVIF device for the search's wire test: joins the
WS-Discovery group on one interface and answers each Probe with three
datagrams, in this order: a cut-short envelope, a ProbeMatches that relates
to another message, and the device's own ProbeMatches. Its Types name the
probed type, so a search that probes both sees both.

    onvif_responder.py INTERFACE   (prints "ready" once joined)
"""
import socket
import struct
import sys
import xml.etree.ElementTree as ET

GROUP, PORT = "239.255.255.250", 3702
SOAP = "http://www.w3.org/2003/05/soap-envelope"
WSA = "http://schemas.xmlsoap.org/ws/2004/08/addressing"
WSD = "http://schemas.xmlsoap.org/ws/2005/04/discovery"
PROBE = WSD + "/Probe"
ENDPOINT = "urn:uuid:5e1f0c2a-7b3d-4e8f-9a10-b2c3d4e5f607"
STRAY = "urn:uuid:00000000-0000-4000-8000-000000000000"

MATCHES = """<?xml version="1.0" encoding="UTF-8"?>
<e:Envelope xmlns:e="{soap}" xmlns:w="{wsa}" xmlns:d="{wsd}"
 xmlns:dn="http://www.onvif.org/ver10/network/wsdl"
 xmlns:tds="http://www.onvif.org/ver10/device/wsdl"><e:Header>
<w:RelatesTo>{relates}</w:RelatesTo>
<w:Action>{wsd}/ProbeMatches</w:Action></e:Header><e:Body>
<d:ProbeMatches><d:ProbeMatch>
<w:EndpointReference><w:Address>{endpoint}</w:Address></w:EndpointReference>
<d:Types>{types}</d:Types>
<d:Scopes>onvif://www.onvif.org/name/Yard%20Cam</d:Scopes>
<d:XAddrs>http://10.77.0.2/onvif/device_service</d:XAddrs>
<d:MetadataVersion>1</d:MetadataVersion>
</d:ProbeMatch></d:ProbeMatches></e:Body></e:Envelope>"""


def answers(probe):
    """The three datagrams for one Probe, or none for anything else."""
    try:
        root = ET.fromstring(probe)
    except ET.ParseError:
        return []
    action = root.findtext(f"{{{SOAP}}}Header/{{{WSA}}}Action")
    message_id = root.findtext(f"{{{SOAP}}}Header/{{{WSA}}}MessageID")
    types = root.findtext(f"{{{SOAP}}}Body/{{{WSD}}}Probe/{{{WSD}}}Types")
    if action != PROBE or not message_id or not types:
        return []
    local = types.split(":")[-1]
    answered = {"NetworkVideoTransmitter": "dn:NetworkVideoTransmitter",
                "Device": "tds:Device"}.get(local)
    if not answered:
        return []

    def matches(relates):
        return MATCHES.format(soap=SOAP, wsa=WSA, wsd=WSD, relates=relates,
                              endpoint=ENDPOINT, types=answered).encode()

    own = matches(message_id)
    return [own[: len(own) // 2], matches(STRAY), own]


def main():
    index = socket.if_nametoindex(sys.argv[1])
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    s.bind(("0.0.0.0", PORT))
    # struct ip_mreqn: the group, any local address, the interface's index.
    membership = struct.pack("=4s4si", socket.inet_aton(GROUP),
                             socket.inet_aton("0.0.0.0"), index)
    s.setsockopt(socket.IPPROTO_IP, socket.IP_ADD_MEMBERSHIP, membership)
    print("ready", flush=True)
    while True:
        probe, sender = s.recvfrom(65536)
        for datagram in answers(probe):
            s.sendto(datagram, sender)


if __name__ == "__main__":
    main()
