#!/usr/bin/env bash
# Runs one networked test program inside the app namespace, with the device
# simulator listening on the peer side and, on request, another process
# holding the discovery port.
#
#   netpeer.sh [--wine] [--hold-port] [--domains N] [--peer ARGS]... -- COMMAND...
#
# Each --peer starts one simulator with those arguments (default: one with
# "--count 1 --repeat 0 --log-datagrams"); several serve one broadcast domain
# each with their --interface. --domains N adds N extra domains to the
# namespaces for this run (scripts/lib/netns.sh: qaK/qdK, 10.100.K.0/24 from
# K = 3 on) and removes them afterwards; without it none is left.
#
# Needs QUELLAN_APP_NS, QUELLAN_PEER_NS and QUELLAN_DEVSIM from the test
# script. The simulators' output lines are handed to the test through the
# file named by QUELLAN_PEER_LOG (a Windows path with --wine), and by
# QUELLAN_PEER_LOG_PATH (the same file, always a path of this system).
set -euo pipefail
wine=0 hold=0 domains=0 peers=()
while [ $# -gt 0 ]; do
  case "$1" in
    --wine) wine=1; shift ;;
    --hold-port) hold=1; shift ;;
    --domains) domains="$2"; shift 2 ;;
    --peer) peers+=("$2"); shift 2 ;;
    --) shift; break ;;
    *) echo "netpeer.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[ ${#peers[@]} -gt 0 ] || peers=("--count 1 --repeat 0 --log-datagrams")
: "${QUELLAN_APP_NS:?run the networked tests through scripts/test.sh}"
: "${QUELLAN_PEER_NS:?run the networked tests through scripts/test.sh}"
: "${QUELLAN_DEVSIM:?run the networked tests through scripts/test.sh}"
if [ "$(ip netns identify $$ 2>/dev/null)" != "$QUELLAN_APP_NS" ]; then
  echo "netpeer.sh: refusing to run outside namespace $QUELLAN_APP_NS" >&2
  exit 1
fi
# shellcheck source=SCRIPTDIR/../../scripts/lib/netns.sh
. "$(dirname "$0")/../../scripts/lib/netns.sh"

work=$(mktemp -d)
peer_pids=() holder_pid=""
stop() {
  [ -n "$1" ] || return 0
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}
# Wine keeps the list of links it read for as long as its server runs, and
# the server outlives the program by a few seconds: a run with extra domains
# waits for it to end before the links change, or the next program would be
# told of links (and interface indexes) that are gone.
wine_settled() {
  if [ "$wine" = 1 ] && [ "$domains" != 0 ]; then wineserver -w; fi
}
cleanup() {
  local pid
  for pid in "${peer_pids[@]}"; do stop "$pid"; done
  stop "$holder_pid"
  wine_settled
  netns_domains_del "$QUELLAN_APP_NS"
  rm -rf "$work"
}
trap cleanup EXIT

# A run that was killed may have left its domains behind.
wine_settled
netns_domains_del "$QUELLAN_APP_NS"
netns_domains_add "$QUELLAN_APP_NS" "$QUELLAN_PEER_NS" "$domains" || exit 1

# Every simulator appends its lines to the one log, each line in one write.
: >"$work/peer.log"
for args in "${peers[@]}"; do
  # shellcheck disable=SC2086  # the simulator's arguments are words
  ip netns exec "$QUELLAN_PEER_NS" "$QUELLAN_DEVSIM" $args >>"$work/peer.log" 2>>"$work/peer.err" &
  peer_pids+=($!)
done
ready() { [ "$(grep -c '"event":"ready"' "$work/peer.log")" -ge ${#peers[@]} ]; }
for _ in $(seq 100); do
  ready && break
  for pid in "${peer_pids[@]}"; do
    kill -0 "$pid" 2>/dev/null || { cat "$work/peer.err" >&2; exit 1; }
  done
  sleep 0.1
done
ready || { echo "netpeer.sh: simulator not ready" >&2; exit 1; }

if [ "$hold" = 1 ]; then
  # A plain socket without address reuse: nobody else can bind the port.
  python3 -c 'import socket,sys,time
s=socket.socket(socket.AF_INET,socket.SOCK_DGRAM); s.bind(("0.0.0.0",64988))
print("held",flush=True); time.sleep(600)' >"$work/holder.log" &
  holder_pid=$!
  for _ in $(seq 100); do grep -q held "$work/holder.log" && break; sleep 0.1; done
  export QUELLAN_PORT_HOLDER_PID=$holder_pid
fi

export QUELLAN_PEER_LOG_PATH="$work/peer.log"
if [ "$wine" = 1 ]; then
  export QUELLAN_PEER_LOG="Z:${work//\//\\}\\peer.log"
else
  export QUELLAN_PEER_LOG="$work/peer.log"
fi
set +e
"$@"
rc=$?
set -e
exit $rc
