#!/usr/bin/env bash
# Runs COMMAND with two permanent neighbour entries on the app side, the ones
# neighbour_link_test.cpp looks for, and removes them afterwards: 10.77.0.214
# on the first test link (qa0), 10.77.0.216 on the second (qa1), where it is
# not on that link's subnet, and 10.77.0.215 on both with two MACs. netpeer.sh runs this inside the app
# namespace only.
#
#   static_neighbour.sh COMMAND...
set -euo pipefail
ip neigh replace 10.77.0.214 lladdr 02:00:00:00:02:14 dev qa0 nud permanent
ip neigh replace 10.77.0.216 lladdr 02:00:00:00:02:16 dev qa1 nud permanent
# One address behind both links, as two LANs that use one subnet have it.
ip neigh replace 10.77.0.215 lladdr 02:00:00:00:0a:15 dev qa0 nud permanent
ip neigh replace 10.77.0.215 lladdr 02:00:00:00:0b:15 dev qa1 nud permanent
trap 'ip neigh del 10.77.0.214 dev qa0; ip neigh del 10.77.0.216 dev qa1
  ip neigh del 10.77.0.215 dev qa0; ip neigh del 10.77.0.215 dev qa1' EXIT
"$@"
