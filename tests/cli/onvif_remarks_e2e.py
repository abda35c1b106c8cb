#!/usr/bin/env python3
"""What search says of WS-Discovery replies it could not use, against
tests/wsdiscovery/onvif_responder.py on the peer side of the first link,
which answers each probe with a cut-short envelope, a stray ProbeMatches
and the device's own; no device of ours answers.

  onvif_remarks_e2e.py --cli PROGRAM [--emulator wine]
"""
import argparse

from cli_e2e import Cli

# Two probes through each link with an address, twice; the responder hears
# the four on the first link.
EXPECTED = [
    "4 WS-Discovery replies could not be read: a truncated or malformed "
    "body (4)",
    "4 WS-Discovery replies answered no probe of this search",
    "no device answered Quellan's own protocol",
]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--emulator", action="append", default=[])
    cli = Cli(parser.parse_args())
    for protocol, lines in (("all", EXPECTED), ("onvif", EXPECTED[:2])):
        rows = cli.json("search", "--protocol", protocol, "--timeout", "1500")
        assert [r["name"] for r in rows] == ["Yard Cam"], rows
        _, err = cli.run("search", "--protocol", protocol, "--timeout",
                         "1500", expect=0)
        said = [line.split("quellan-cli: ", 1)[-1]
                for line in err.splitlines()]
        # The firewall hints follow when ours were not heard.
        assert said[:len(lines)] == lines, err
        assert "no device answered" not in said, err


if __name__ == "__main__":
    main()
