#!/usr/bin/env python3
"""Counts the wineserver requests of Quellan.exe during one search, by
thread, from a trace that QUELLAN_SERVER_TRACE=FILE scripts/scale.sh RUN
wrote. Under Wine each datagram read is a round trip to the wineserver and
the window thread's work makes more; unlike the receive rate, the counts do
not depend on the machine's load.

    bench/server_requests.py FILE

The receive thread is the one that reads datagrams (recv_socket), the window
thread the one that started it; the search runs from its first read to its
last."""
import collections
import re
import sys

REQUEST = re.compile(r"^([0-9a-f]{4}): ([a-z_]+)\( ")


def main():
    lines = open(sys.argv[1], errors="replace").read().splitlines()
    requests = [(i, m.group(1), m.group(2)) for i, line in enumerate(lines)
                for m in [REQUEST.match(line)] if m]
    reads = collections.Counter(t for _, t, name in requests
                                if name == "recv_socket")
    receiver = reads.most_common(1)[0][0]
    started = re.compile(r"^([0-9a-f]{4}): new_thread\(\) = 0 \{ tid=%s" %
                         receiver)
    window = next(m.group(1) for line in lines
                  for m in [started.match(line)] if m)
    first = next(i for i, t, n in requests if t == receiver)
    last = max(i for i, t, n in requests if t == receiver)
    counts = collections.Counter((t, n) for i, t, n in requests
                                 if first <= i <= last)
    print("reads asked for (recv_socket): %d" % reads[receiver])
    for role, thread in (("receive", receiver), ("window", window)):
        names = [(n, c) for (t, n), c in counts.most_common() if t == thread]
        print("%s thread: %d requests (%s)" % (
            role, sum(c for _, c in names),
            ", ".join("%s %d" % nc for nc in names[:8])))
    others = sum(c for (t, _), c in counts.items()
                 if t not in (receiver, window))
    print("other threads and programs (the probe): %d requests" % others)


if __name__ == "__main__":
    main()
