#!/usr/bin/env bash
# Runs COMMAND with onvif_responder.py answering on the peer side of the
# first test link (qd0), and stops it afterwards. netpeer.sh runs this inside
# the app namespace only.
#
#   onvif_responder.sh COMMAND...
set -euo pipefail
: "${QUELLAN_PEER_NS:?run the networked tests through scripts/test.sh}"
log=$(mktemp)
ip netns exec "$QUELLAN_PEER_NS" python3 "$(dirname "$0")/onvif_responder.py" \
  qd0 >"$log" &
pid=$!
trap 'kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true; rm -f "$log"' EXIT
for _ in $(seq 100); do
  grep -q ready "$log" && break
  kill -0 "$pid" 2>/dev/null || exit 1
  sleep 0.1
done
grep -q ready "$log" || { echo "onvif_responder.sh: not ready" >&2; exit 1; }
"$@"
